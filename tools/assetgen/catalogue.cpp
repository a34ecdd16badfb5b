#include "catalogue.h"

namespace tolvaro::assetgen {

const std::vector<BitmapEntry>& bitmapCatalogue() {
  static const std::vector<BitmapEntry> kEntries = [] {
    std::vector<BitmapEntry> entries = {
        // Main menu and exit box.
        {143, 1024, 768, 24, std::nullopt},
        {144, 263, 51, 24, std::nullopt},
        {145, 263, 51, 24, std::nullopt},
        {146, 263, 51, 24, std::nullopt},
        {147, 263, 51, 24, std::nullopt},
        {148, 263, 51, 24, std::nullopt},
        {149, 263, 51, 24, std::nullopt},
        {150, 263, 51, 24, std::nullopt},
        {151, 263, 51, 24, std::nullopt},
        {152, 263, 51, 24, std::nullopt},
        {153, 263, 51, 24, std::nullopt},
        {154, 110, 110, 24, kWhite},
        {238, 250, 90, 24, kBlack},
        {239, 77, 26, 24, std::nullopt},
        {240, 77, 26, 24, std::nullopt},
        // Themes: backgrounds, frame panels, title pictures, buttons, info boxes.
        {157, 1024, 768, 24, std::nullopt},
        {194, 1024, 768, 24, std::nullopt},
        {220, 1024, 768, 8, std::nullopt},
        {158, 606, 676, 24, std::nullopt},
        {182, 606, 676, 8, std::nullopt},
        {207, 606, 676, 8, std::nullopt},
        {180, 504, 287, 24, std::nullopt},
        {183, 528, 305, 8, std::nullopt},
        {208, 528, 305, 8, std::nullopt},
        {155, 240, 50, 24, std::nullopt},
        {181, 240, 50, 8, std::nullopt},
        {206, 240, 50, 8, std::nullopt},
        {165, 240, 50, 24, std::nullopt},
        {193, 240, 50, 8, std::nullopt},
        {218, 240, 50, 8, std::nullopt},
        {163, 270, 63, 24, std::nullopt},
        {192, 270, 64, 8, std::nullopt},
        {217, 270, 64, 8, std::nullopt},
        // Letter game.
        {174, 15, 15, 24, std::nullopt},
        {234, 341, 67, 8, std::nullopt},
        {229, 86, 86, 8, std::nullopt},
        {230, 86, 86, 8, std::nullopt},
        {231, 86, 86, 8, std::nullopt},
        {232, 86, 86, 8, std::nullopt},
        {233, 86, 86, 8, std::nullopt},
        {235, 400, 200, 8, std::nullopt},
        // Load-game list.
        {176, 305, 405, 8, kBlack},
        {177, 241, 28, 8, std::nullopt},
        {195, 83, 25, 8, std::nullopt},
        // About cards.
        {224, 500, 250, 8, std::nullopt},
        {171, 800, 600, 8, std::nullopt},
        {226, 400, 250, 8, std::nullopt},
        {225, 400, 250, 8, std::nullopt},
        {228, 400, 250, 8, std::nullopt},
        {227, 600, 250, 8, std::nullopt},
        // Records and name dialog.
        {243, 570, 400, 24, std::nullopt},
        {244, 22, 22, 24, kBlack},
        {242, 320, 160, 24, std::nullopt},
        {245, 93, 29, 24, std::nullopt},
        {246, 93, 29, 24, std::nullopt},
        {247, 93, 29, 24, std::nullopt},
        {248, 93, 29, 24, std::nullopt},
        // Present but unused: a further title picture.
        {175, 528, 305, 24, std::nullopt},
    };
    // The 24 theme labels, lettering on black.
    const int labels[] = {164, 159, 170, 166, 169, 161, 160, 162, 188, 187, 191, 190,
                          189, 185, 184, 186, 213, 212, 216, 215, 214, 210, 209, 211};
    for (int id : labels) entries.push_back({id, 75, 36, 24, kBlack});
    return entries;
  }();
  return kEntries;
}

}  // namespace tolvaro::assetgen
