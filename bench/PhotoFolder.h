#pragma once
#include <string>
#include <vector>

namespace photocheck::bench {

// What a generated photo folder holds: `count` files, of which the first `distinct` are painted and
// the rest are copies of them under other names, so a large folder costs little to make.
struct PhotoFolderPlan {
    int count = 2000;
    int distinct = 200;
};

// Fills a folder (created when missing) with ID photos from the sample recipes. Three of every four
// painted photos come from the passing recipes, the fourth from the failing ones in turn, each with
// a seed of its own; the files keep the recipes' extensions. Returns the paths in the order written.
std::vector<std::string> writePhotoFolder(const std::string& folder, const PhotoFolderPlan& plan);

}  // namespace photocheck::bench
