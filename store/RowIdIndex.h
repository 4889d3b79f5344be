#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace photocheck {

using RowId = int64_t;  // the engine's own number of a table row

// Whether `next` is the id right after `id`.
inline bool isNextId(RowId id, RowId next) {
    return id < next && next - 1 == id;
}

// The row ids of a result set by position, held compactly so that a grid can let go of rows it has
// shown and read them again by id: blocks of up to 256 positions, each with its first id and the steps
// to the next ones as variable-length numbers (a byte each for small steps), or no steps at all for a
// block of consecutive ids, as a table read in its order gives them.
class RowIdIndex {
  public:
    void append(RowId id);
    size_t size() const { return size_; }
    // Throws std::out_of_range beyond size().
    RowId at(size_t position) const;
    // The ids of `count` positions from `first`, which must lie within size().
    std::vector<RowId> slice(size_t first, size_t count) const;
    // The positions after it move up by one.
    void erase(size_t position);
    void clear();

  private:
    struct Block {
        size_t count = 0;
        RowId first = 0;
        RowId last = 0;
        // count - 1 steps, each the difference to the id before as a zigzag varint; empty when every
        // step is 1.
        std::string steps;
    };
    // The block holding the position, and the position's place within it.
    size_t blockOf(size_t position, size_t& offset) const;
    static std::vector<RowId> decode(const Block& block);
    static Block encode(const std::vector<RowId>& ids);

    std::vector<Block> blocks_;
    size_t size_ = 0;
};

}  // namespace photocheck
