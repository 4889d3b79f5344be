#include "bench/PhotoFolder.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "tools/samplegen/SampleSet.h"

namespace photocheck::bench {
namespace {

namespace fs = std::filesystem;
using samplegen::SampleRecipe;

struct RecipeGroups {
    std::vector<SampleRecipe> passing;
    std::vector<SampleRecipe> failing;
};

RecipeGroups groupedRecipes() {
    RecipeGroups groups;
    for (const SampleRecipe& recipe : samplegen::bundledSamples())
        (recipe.reason.empty() ? groups.passing : groups.failing).push_back(recipe);
    if (groups.passing.empty() || groups.failing.empty())
        throw std::logic_error("the sample set needs passing and failing recipes");
    return groups;
}

// The k-th painted photo: photos 0, 1, 2 pass, photo 3 fails, and so on.
SampleRecipe recipeFor(const RecipeGroups& groups, int k) {
    const bool failing = k % 4 == 3;
    const std::vector<SampleRecipe>& group = failing ? groups.failing : groups.passing;
    const int turn = failing ? k / 4 : k - k / 4;
    SampleRecipe recipe = group[static_cast<size_t>(turn) % group.size()];
    recipe.spec.seed += 7919 * static_cast<uint64_t>(k + 1);
    return recipe;
}

std::string numbered(const char* prefix, int n, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%05d", n);
    return prefix + std::string(number) + "-" + name;
}

}  // namespace

std::vector<std::string> writePhotoFolder(const std::string& folder, const PhotoFolderPlan& plan) {
    if (plan.count < 1 || plan.distinct < 1) throw std::invalid_argument("a photo folder needs photos");
    fs::create_directories(folder);
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    const RecipeGroups groups = groupedRecipes();
    const int painted = std::min(plan.count, plan.distinct);

    std::vector<std::string> paths;
    for (int k = 0; k < painted; ++k) {
        SampleRecipe recipe = recipeFor(groups, k);
        recipe.fileName = numbered("p", k, recipe.fileName);
        samplegen::writeSample(recipe, base);
        paths.push_back(base + recipe.fileName);
    }
    for (int n = painted; n < plan.count; ++n) {
        const fs::path source = paths[static_cast<size_t>(n % painted)];
        const std::string target = base + numbered("c", n, source.filename().string());
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        paths.push_back(target);
    }
    return paths;
}

}  // namespace photocheck::bench
