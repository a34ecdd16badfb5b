// The desktop host's own parts: the embedded resource pack, icon and animated-cursor files,
// the letterbox mapping, key mapping, GBK conversion and the name box.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/Files.h"
#include "base/Picture.h"
#include "base/Text.h"
#include "hosts/sdl/AnimatedCursor.h"
#include "hosts/sdl/FrameMailbox.h"
#include "hosts/sdl/GbkText.h"
#include "hosts/sdl/IconFile.h"
#include "hosts/sdl/KeyMap.h"
#include "hosts/sdl/NameBox.h"
#include "hosts/sdl/ResourcePack.h"
#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"
#include "support/Bytes.h"

namespace fs = std::filesystem;
using namespace tolvaro;
using namespace tolvaro::sdl;
using namespace tolvaro::hosts;
using namespace tolvaro::testing;

namespace {

void append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// A 4 x 2 cursor (or icon) file: 24-bit colours, AND mask marking the last column transparent.
Bytes smallIconFile(int kind, int hotX, int hotY, std::uint8_t red) {
  Bytes dib;
  putLe32(dib, {40, 4, 2 * 2});  // twice the height: the colours, then the mask
  putLe16(dib, 1);
  putLe16(dib, 24);
  putLe32(dib, {0, 0, 0, 0, 0, 0});
  for (int y = 0; y < 2; ++y) {  // bottom-up rows, blue 10 x, green 100 + the row as stored
    for (int x = 0; x < 4; ++x) dib.insert(dib.end(), {std::uint8_t(10 * x), std::uint8_t(100 + y), red});
  }
  putLe32(dib, {0x10, 0x10});  // mask rows: bit of x = 3 set
  Bytes file;
  for (int field : {0, kind, 1}) putLe16(file, field);
  file.insert(file.end(), {4, 2, 0, 0});
  putLe16(file, hotX);
  putLe16(file, hotY);
  putLe32(file, {std::ssize(dib), 22});
  append(file, dib);
  return file;
}

Bytes chunk(const char* tag, const Bytes& data) {
  Bytes out(tag, tag + 4);
  putLe32(out, std::ssize(data));
  append(out, data);
  if (data.size() % 2) out.push_back(0);
  return out;
}

Bytes aniFile(int frames, std::uint32_t flags, const std::vector<std::int64_t>& rates,
              const std::vector<std::int64_t>& sequence) {
  Bytes header;
  const std::int64_t steps = sequence.empty() ? frames : std::ssize(sequence);
  putLe32(header, {36, frames, steps, 0, 0, 0, 0, 10, flags});  // default rate 10 jiffies
  Bytes body = {'A', 'C', 'O', 'N'};
  append(body, chunk("anih", header));
  for (const auto& [tag, values] : {std::pair{"rate", rates}, std::pair{"seq ", sequence}}) {
    Bytes list;
    for (std::int64_t v : values) putLe32(list, v);
    if (!values.empty()) append(body, chunk(tag, list));
  }
  Bytes icons = {'f', 'r', 'a', 'm'};
  for (int i = 0; i < frames; ++i) {
    append(icons, chunk("icon", smallIconFile(2, i, 0, static_cast<std::uint8_t>(200 + i))));
  }
  append(body, chunk("LIST", icons));
  return chunk("RIFF", body);
}

}  // namespace

TEST(ResourcePack, FindsEveryPackedResourceAndRefusesDamage) {
  const Bytes pack = encodePack({{ResourceType::Bitmap, 143, {1, 2, 3}},
                                 {ResourceType::Wave, 201, {4, 5, 6, 7, 8}},
                                 {ResourceType::Glyphs, 1, {}}});
  const ResourcePack reader(pack);
  ASSERT_EQ(reader.entryCount(), 3u);
  const auto found = [&](ResourceType type, int id) {
    const auto bytes = reader.find(type, id);
    return Bytes(bytes.begin(), bytes.end());
  };
  EXPECT_EQ(found(ResourceType::Bitmap, 143), (Bytes{1, 2, 3}));
  EXPECT_EQ(found(ResourceType::Wave, 201), (Bytes{4, 5, 6, 7, 8}));
  EXPECT_TRUE(reader.find(ResourceType::Wave, 143).empty());  // type and number both count
  EXPECT_TRUE(reader.find(ResourceType::Bitmap, 144).empty());
  EXPECT_EQ(ResourcePack(Bytes(pack.begin(), pack.end() - 4)).entryCount(), 0u)
      << "the last entry's data runs past the end";
  Bytes wrongMagic = pack;
  wrongMagic[0] = 'X';
  EXPECT_EQ(ResourcePack(wrongMagic).entryCount(), 0u);
}

TEST(ResourcePack, CollectsTheGeneratedTree) {
  const fs::path dir = fs::temp_directory_path() / ("tolvaro-pack-" + std::to_string(::getpid()));
  for (const char* folder : {"bitmap", "glyphs"}) fs::create_directories(dir / folder);
  std::ofstream(dir / "bitmap" / "143.bmp") << "BMx";
  std::ofstream(dir / "bitmap" / "notes.txt") << "not a resource";
  std::ofstream(dir / "glyphs" / "gbk16.bin") << "G";
  const ResourcePack reader(encodePack(collectGeneratedResources(dir)));
  EXPECT_EQ(reader.entryCount(), 2u);
  EXPECT_EQ(reader.find(ResourceType::Bitmap, 143).size(), 3u);
  EXPECT_EQ(reader.find(ResourceType::Glyphs, 1).size(), 1u);
  fs::remove_all(dir);
}

TEST(IconFile, DecodesColoursMaskAndHotspot) {
  const auto cursor = decodeIconFile(smallIconFile(2, 3, 1, 77));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(std::tuple(cursor->width, cursor->height, cursor->hotspotX, cursor->hotspotY),
            std::tuple(4, 2, 3, 1));
  // Top row is the last stored row (green 101); pixel (1, 0): r 77, g 101, b 10, opaque.
  EXPECT_EQ(Bytes(&cursor->rgba[4], &cursor->rgba[8]), (Bytes{77, 101, 10, 255}));
  EXPECT_EQ(cursor->rgba[(1 * 4 + 3) * 4 + 3], 0);  // masked column is transparent
  const auto icon = decodeIconFile(smallIconFile(1, 9, 9, 0));
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->hotspotX, 2);  // icons take the centre
  Bytes png = smallIconFile(2, 0, 0, 0);
  std::memcpy(&png[22], "\x89PNG", 4);
  EXPECT_FALSE(decodeIconFile(png));
  Bytes cut = smallIconFile(2, 0, 0, 0);
  cut.resize(cut.size() - 5);
  EXPECT_FALSE(decodeIconFile(cut));
}

TEST(AnimatedCursor, FollowsSequenceAndRates) {
  const auto cursor = parseAnimatedCursor(aniFile(2, 1, {6, 12, 6}, {1, 0, 1}));
  ASSERT_TRUE(cursor);
  ASSERT_EQ(cursor->frames.size(), 2u);
  EXPECT_EQ(cursor->frames[1].rgba[0], 201);  // frame 1 is the second icon chunk
  ASSERT_EQ(cursor->steps.size(), 3u);
  const auto& steps = cursor->steps;  // 6 jiffies of 1/60 s are 100 ms
  EXPECT_EQ(std::tuple(steps[0].frame, steps[0].milliseconds, steps[1].frame, steps[1].milliseconds),
            std::tuple(1, 100, 0, 200));
  EXPECT_EQ(cursor->loopMilliseconds(), 400);
  // Elapsed time and the step it shows; 400 loops to the start.
  for (auto [elapsed, step] : {std::pair{99, 0}, {100, 1}, {299, 1}, {300, 2}, {400, 0}}) {
    EXPECT_EQ(cursor->stepAt(elapsed), step) << elapsed << " ms";
  }
  const auto plain = parseAnimatedCursor(aniFile(3, 1, {}, {}));
  ASSERT_TRUE(plain);
  ASSERT_EQ(plain->steps.size(), 3u);
  EXPECT_EQ(std::pair(plain->steps[2].frame, plain->steps[2].milliseconds), std::pair(2, 167))
      << "the header's 10 jiffies";
}

TEST(AnimatedCursor, RefusesBrokenFiles) {
  EXPECT_FALSE(parseAnimatedCursor({}));
  EXPECT_FALSE(parseAnimatedCursor(aniFile(2, 1, {}, {0, 2})));   // frame 2 does not exist
  EXPECT_FALSE(parseAnimatedCursor(aniFile(2, 0, {}, {})));       // raw frames, not icons
  EXPECT_FALSE(parseAnimatedCursor(aniFile(2, 1, {6}, {0, 1})));  // rates too short
  Bytes cut = aniFile(2, 1, {}, {});
  cut.resize(cut.size() - 30);
  EXPECT_FALSE(parseAnimatedCursor(cut));
}

TEST(AnimatedCursor, GeneratedCursorAndIconDecode) {
  const fs::path generated = TOLVARO_GENERATED_DIR;
  const auto cursor = parseAnimatedCursor(readFile(generated / "mouse6.ani"));
  ASSERT_TRUE(cursor);
  EXPECT_GE(cursor->frames.size(), 2u);
  EXPECT_GT(cursor->loopMilliseconds(), 0);
  const auto icon = decodeIconFile(readFile(generated / "icon" / "141.ico"));
  ASSERT_TRUE(icon);
  EXPECT_EQ(std::pair(icon->width, icon->height), std::pair(32, 32));
}

TEST(Letterbox, KeepsPictureCoordinatesOnEveryDisplay) {
  const Letterbox same(1024, 768, 1024, 768);
  EXPECT_EQ(same.picture(), (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(same.toPicture(681, 201), (Point{681, 201}));

  const Letterbox wide(1024, 768, 1920, 1080);  // 1440 x 1080, bars of 240 each side
  EXPECT_EQ(wide.picture(), (Rect{240, 0, 1440, 1080}));
  EXPECT_FALSE(wide.toPicture(239, 500));
  EXPECT_FALSE(wide.toPicture(1680, 500));
  EXPECT_EQ(wide.toPicture(240, 0), (Point{0, 0}));
  EXPECT_EQ(wide.toPicture(1679, 1079), (Point{1023, 767}));
  EXPECT_EQ(wide.toPictureClamped(10, 500).x, 0);
  // Every corner of the Start Game hot zone maps back to itself through the scaled window.
  for (Point corner : {Point{681, 201}, Point{942, 201}, Point{681, 250}, Point{942, 250}}) {
    const Rect pixel = wide.toWindow({corner.x, corner.y, 1, 1});
    EXPECT_EQ(wide.toPicture(pixel.x, pixel.y), corner);
    EXPECT_EQ(wide.toPicture(pixel.x + pixel.w - 1, pixel.y + pixel.h - 1), corner);
  }

  const Letterbox tall(1024, 768, 1280, 1024);  // 1280 x 960, bars of 32 above and below
  EXPECT_EQ(tall.picture(), (Rect{0, 32, 1280, 960}));
  EXPECT_EQ(tall.toPicture(640, 32), (Point{512, 0}));
  EXPECT_EQ(tall.toPicture(1279, 991), (Point{1023, 767}));
  EXPECT_FALSE(tall.toPicture(0, 31));
}

// The picture at its own size is copied pixel for pixel; scaled, flat areas keep their colour
// and edges blend only between their two sides; black all round.
TEST(Scaler, CopiesAtItsSizeBlendsWhenScaledAndBlacksTheBars) {
  Picture picture(1024, 768);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) picture.pixels[y * 1024 + x] = x < 512 ? 0x00FF8000 : 0x000040FF;
  }
  picture.pixels[5 * 1024 + 7] = 0x00123456;
  std::vector<std::uint32_t> same(1024 * 768, 0xDEADBEEF);
  scaleInto(picture.view(), same.data(), 1024, 768, {0, 0, 1024, 768});
  EXPECT_TRUE(same == picture.pixels);

  std::vector<std::uint32_t> wide(1920 * 1080, 0xDEADBEEF);
  scaleInto(picture.view(), wide.data(), 1920, 1080, Letterbox(1024, 768, 1920, 1080).picture());
  const auto at = [&](int x, int y) { return wide[static_cast<std::size_t>(y) * 1920 + x]; };
  // The bars, then the two flat halves at their outer and inner ends.
  for (auto [x, y, colour] : {std::tuple{0, 500, 0u}, {239, 1079, 0u}, {1680, 0, 0u},
                              {1919, 540, 0u}, {240, 540, 0x00FF8000u}, {940, 1079, 0x00FF8000u},
                              {980, 0, 0x000040FFu}, {1679, 1079, 0x000040FFu}}) {
    EXPECT_EQ(at(x, y), colour) << x << ", " << y;
  }
  int blended = 0;
  for (int x = 240 + 700; x < 240 + 740; ++x) {  // the edge at 720: green between its sides
    const std::uint32_t green = (at(x, 300) >> 8) & 0xFF;
    EXPECT_GE(green, 0x40u);
    EXPECT_LE(green, 0x80u);
    blended += green > 0x40 && green < 0x80;
  }
  EXPECT_GT(blended, 0) << "scaled edges are smoothed";
}

// Pictures posted faster than they are taken: each one taken is whole (never half of two), and
// newer than the one before (replaced, never queued), and the last one posted is the last shown.
TEST(FrameMailbox, PicturesAreReplacedNeverQueuedAndNeverTorn) {
  constexpr int kWidth = 64, kHeight = 48, kPictures = 3000;
  FrameMailbox mailbox(kWidth, kHeight);
  std::vector<std::uint32_t> taken(kWidth * kHeight);
  std::vector<std::uint32_t> seen;
  bool whole = true;
  std::atomic<bool> sawLast{false};
  std::thread shower([&] {
    while (mailbox.take(taken)) {
      whole = whole && std::all_of(taken.begin(), taken.end(),
                                   [&](std::uint32_t p) { return p == taken.front(); });
      seen.push_back(taken.front());
      if (taken.front() == kPictures) sawLast = true;
    }
  });
  std::vector<std::uint32_t> picture(kWidth * kHeight);
  for (std::uint32_t n = 1; n <= kPictures; ++n) {
    std::fill(picture.begin(), picture.end(), n);
    mailbox.post({picture.data(), kWidth, kHeight});
  }
  // A shower that never gets the last picture fails the checks below rather than hanging.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!sawLast && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  mailbox.close();
  shower.join();
  EXPECT_TRUE(whole);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), static_cast<std::uint32_t>(kPictures));
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) &&
              std::adjacent_find(seen.begin(), seen.end()) == seen.end());
  EXPECT_EQ(mailbox.posted(), kPictures);
  EXPECT_FALSE(mailbox.take(taken)) << "a closed mailbox lets its shower go";
}

TEST(KeyMap, LettersByTheirPrintedLetterEnterAndEsc) {
  // AZERTY's key in the Q place prints A; a Cyrillic layout's key in the A place (ф) still types
  // A, as on Windows; digits, function keys and space are not the game's.
  const std::tuple<SDL_Keycode, SDL_Scancode, std::optional<std::uint32_t>> cases[] = {
      {SDLK_a, SDL_SCANCODE_A, 65}, {SDLK_z, SDL_SCANCODE_Z, 90}, {SDLK_a, SDL_SCANCODE_Q, 65},
      {0x0444, SDL_SCANCODE_A, 65}, {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
      {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13}, {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
      {SDLK_1, SDL_SCANCODE_1, {}}, {SDLK_F1, SDL_SCANCODE_F1, {}},
      {SDLK_SPACE, SDL_SCANCODE_SPACE, {}}};
  for (const auto& [keycode, scancode, key] : cases) {
    EXPECT_EQ(virtualKeyOf(keycode, scancode), key) << keycode << " at " << scancode;
  }
}

TEST(GbkText, ConvertsTypedTextToWholeGbkCharacters) {
  // 张三; Ab龍; an emoji has no GBK form; control characters and a stray byte are dropped.
  const std::pair<std::string, std::string> cases[] = {
      {"\xE5\xBC\xA0\xE4\xB8\x89", "\xD5\xC5\xC8\xFD"}, {"Ab\xE9\xBE\x8D", "Ab\xFD\x88"},
      {"a\xF0\x9F\x98\x80" "b", "ab"}, {"a\tb\x7F" "c", "abc"}, {"a\xFF" "b", "ab"}};
  for (const auto& [utf8, gbk] : cases) EXPECT_EQ(utf8ToGbk(utf8), gbk);
  const std::string name = "A\xD5\xC5" "B";
  EXPECT_EQ(std::tuple(gbkCharLength(name, 0), gbkCharLength(name, 1), gbkPreviousChar(name, 3),
                       gbkPreviousChar(name, 1)),
            std::tuple(1u, 2u, 1u, 0u));
}

TEST(NameBox, EditsWholeCharacters) {
  NameBox box;
  box.insert("A\xD5\xC5\xC8\xFD");  // A张三
  EXPECT_EQ(box.caret(), 5u);
  box.backspace();
  EXPECT_EQ(box.text(), "A\xD5\xC5");
  box.moveLeft();
  EXPECT_EQ(box.caret(), 1u);
  box.insert("b");
  EXPECT_EQ(box.text(), "Ab\xD5\xC5");
  box.moveHome();
  box.deleteForward();
  EXPECT_EQ(box.text(), "b\xD5\xC5");
  box.setText("x: 100 , y: 120");
  EXPECT_EQ(box.caret(), 0u);  // as SetWindowText leaves an edit control
  box.moveEnd();
  EXPECT_EQ(box.caret(), 15u);
  box.setText(std::string(NameBox::kMaxBytes - 1, 'a'));
  box.moveEnd();
  box.insert("\xD5\xC5z");  // the double-byte character does not fit, nothing after it goes in
  EXPECT_EQ(box.text().size(), NameBox::kMaxBytes - 1);
}

TEST(NameBox, DrawsBorderFieldTextAndCaret) {
  GlyphSet glyphs;
  ASSERT_TRUE(glyphs.load(readFile(fs::path(TOLVARO_GENERATED_DIR) / "glyphs" / "gbk16.bin")));
  NameBox box;
  Picture target(200, 40, rgb(1, 2, 3));
  box.draw(target, glyphs, 10, 5, true);
  EXPECT_EQ(target.at(10, 5), kBlack);  // border corner
  EXPECT_EQ(target.at(10 + NameBox::kWidth - 1, 5 + 23), kBlack);
  EXPECT_EQ(target.at(10 + NameBox::kWidth, 5), rgb(1, 2, 3));  // nothing outside
  EXPECT_EQ(target.at(13, 5 + 12), kBlack);  // the caret at the start of the empty field
  EXPECT_EQ(target.at(40, 5 + 12), kWhite);
  box.draw(target, glyphs, 10, 5, false);
  EXPECT_EQ(target.at(13, 5 + 12), kWhite);  // blinked off

  // A long name scrolls: the caret stays inside the field, the text fills the field up to it.
  box.insert(std::string(40, 'W'));
  Picture wide(200, 40, kWhite);
  box.draw(wide, glyphs, 0, 0, true);
  int caretColumns = 0, inked = 0;
  for (int x = 1; x < NameBox::kWidth - 1; ++x) {
    bool column = true;
    for (int y = 4; y < 20; ++y) column = column && wide.at(x, y) == kBlack;
    caretColumns += column;
    inked += wide.at(x, 12) == kBlack;
  }
  EXPECT_GE(caretColumns, 1);
  EXPECT_GT(inked, 10);
}
