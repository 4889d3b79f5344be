#include "store/RowIdIndex.h"

#include <stdexcept>

namespace photocheck {
namespace {

constexpr size_t IdsPerBlock = 256;

// The step from one id to the next, wrapping as the engine's ids may lie anywhere in 64 bits.
void appendStep(std::string& steps, RowId from, RowId to) {
    const auto step = static_cast<int64_t>(static_cast<uint64_t>(to) - static_cast<uint64_t>(from));
    uint64_t zigzag = (static_cast<uint64_t>(step) << 1) ^ static_cast<uint64_t>(step >> 63);
    while (zigzag >= 0x80) {
        steps += static_cast<char>(0x80 | (zigzag & 0x7f));
        zigzag >>= 7;
    }
    steps += static_cast<char>(zigzag);
}

RowId stepOn(RowId from, const std::string& steps, size_t& at) {
    uint64_t zigzag = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(steps[at++]);
        zigzag |= static_cast<uint64_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80)) break;
    }
    const uint64_t step = (zigzag >> 1) ^ (0 - (zigzag & 1));
    return static_cast<RowId>(static_cast<uint64_t>(from) + step);
}

// The steps of a run of consecutive ids, once a block turns out not to be one.
std::string consecutiveSteps(size_t count) {
    std::string steps;
    for (size_t i = 0; i < count; ++i) appendStep(steps, 0, 1);
    return steps;
}

}  // namespace

void RowIdIndex::append(RowId id) {
    if (blocks_.empty() || blocks_.back().count == IdsPerBlock) {
        if (!blocks_.empty()) blocks_.back().steps.shrink_to_fit();
        blocks_.push_back({1, id, id, {}});
    } else {
        Block& block = blocks_.back();
        const bool stillConsecutive = block.steps.empty() && isNextId(block.last, id);
        if (!stillConsecutive) {
            if (block.steps.empty()) block.steps = consecutiveSteps(block.count - 1);
            appendStep(block.steps, block.last, id);
        }
        block.last = id;
        ++block.count;
    }
    ++size_;
}

size_t RowIdIndex::blockOf(size_t position, size_t& offset) const {
    if (position >= size_)
        throw std::out_of_range("no row " + std::to_string(position) + " among " + std::to_string(size_));
    size_t block = 0;
    while (position >= blocks_[block].count) position -= blocks_[block++].count;
    offset = position;
    return block;
}

RowId RowIdIndex::at(size_t position) const {
    size_t offset = 0;
    const Block& block = blocks_[blockOf(position, offset)];
    RowId id = block.first;
    if (block.steps.empty()) return id + static_cast<RowId>(offset);
    size_t at = 0;
    for (size_t i = 0; i < offset; ++i) id = stepOn(id, block.steps, at);
    return id;
}

std::vector<RowId> RowIdIndex::slice(size_t first, size_t count) const {
    std::vector<RowId> ids;
    if (count == 0) return ids;
    ids.reserve(count);
    size_t offset = 0;
    for (size_t block = blockOf(first, offset); ids.size() < count; ++block, offset = 0) {
        const std::vector<RowId> all = decode(blocks_.at(block));
        for (size_t i = offset; i < all.size() && ids.size() < count; ++i) ids.push_back(all[i]);
    }
    return ids;
}

void RowIdIndex::erase(size_t position) {
    size_t offset = 0;
    const size_t block = blockOf(position, offset);
    std::vector<RowId> ids = decode(blocks_[block]);
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(offset));
    if (ids.empty())
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
    else
        blocks_[block] = encode(ids);
    --size_;
}

void RowIdIndex::clear() {
    blocks_.clear();
    size_ = 0;
}

std::vector<RowId> RowIdIndex::decode(const Block& block) {
    std::vector<RowId> ids{block.first};
    ids.reserve(block.count);
    if (block.steps.empty()) {
        while (ids.size() < block.count) ids.push_back(ids.back() + 1);
        return ids;
    }
    size_t at = 0;
    while (ids.size() < block.count) ids.push_back(stepOn(ids.back(), block.steps, at));
    return ids;
}

RowIdIndex::Block RowIdIndex::encode(const std::vector<RowId>& ids) {
    Block block{ids.size(), ids.front(), ids.back(), {}};
    bool consecutive = true;
    for (size_t i = 1; i < ids.size() && consecutive; ++i) consecutive = isNextId(ids[i - 1], ids[i]);
    if (consecutive) return block;
    for (size_t i = 1; i < ids.size(); ++i) appendStep(block.steps, ids[i - 1], ids[i]);
    return block;
}

}  // namespace photocheck
