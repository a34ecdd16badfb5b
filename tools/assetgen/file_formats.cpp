#include "file_formats.h"

#include <algorithm>
#include <cmath>

namespace tolvaro::assetgen {
namespace {

class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) : out_(out) {}
  void u8(uint32_t v) { out_.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void tag(const char (&fourCc)[5]) {
    for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(fourCc[i]));
  }
  void bytes(const Bytes& more) { out_.insert(out_.end(), more.begin(), more.end()); }
  size_t size() const { return out_.size(); }
  void patchU32(size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[offset + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
  }

 private:
  Bytes& out_;
};

uint32_t readU16(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}
uint32_t readU32(const Bytes& b, size_t at) {
  return readU16(b, at) | (readU16(b, at + 2) << 16);
}

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

int rowStride(int width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

void writeInfoHeader(ByteWriter& w, int width, int height, int bitsPerPixel, uint32_t imageSize,
                     uint32_t paletteEntries) {
  w.u32(kInfoHeaderSize);
  w.i32(width);
  w.i32(height);
  w.u16(1);  // planes
  w.u16(static_cast<uint32_t>(bitsPerPixel));
  w.u32(0);  // BI_RGB
  w.u32(imageSize);
  w.i32(2835);  // 72 dpi
  w.i32(2835);
  w.u32(paletteEntries);
  w.u32(0);
}

void writeBmpFileHeader(ByteWriter& w, uint32_t fileSize, uint32_t pixelOffset) {
  w.u8('B');
  w.u8('M');
  w.u32(fileSize);
  w.u32(0);
  w.u32(pixelOffset);
}

}  // namespace

Bytes encodeBmp24(const RgbImage& image) {
  const int stride = rowStride(image.width(), 24);
  const uint32_t imageSize = static_cast<uint32_t>(stride * image.height());
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  Bytes out;
  out.reserve(offset + imageSize);
  ByteWriter w(out);
  writeBmpFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, image.width(), image.height(), 24, imageSize, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      w.u8(p.b);
      w.u8(p.g);
      w.u8(p.r);
    }
    for (int pad = image.width() * 3; pad < stride; ++pad) w.u8(0);
  }
  return out;
}

Bytes encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                 const std::vector<Rgb>& palette) {
  const int stride = rowStride(width, 8);
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 256 * 4;
  Bytes out;
  out.reserve(offset + imageSize);
  ByteWriter w(out);
  writeBmpFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, width, height, 8, imageSize, 256);
  for (int i = 0; i < 256; ++i) {
    const Rgb p = i < static_cast<int>(palette.size()) ? palette[i] : kBlack;
    w.u8(p.b);
    w.u8(p.g);
    w.u8(p.r);
    w.u8(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) w.u8(indices[static_cast<size_t>(y) * width + x]);
    for (int pad = width; pad < stride; ++pad) w.u8(0);
  }
  return out;
}

std::optional<DecodedBmp> decodeBmp(const Bytes& file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') {
    return std::nullopt;
  }
  const uint32_t pixelOffset = readU32(file, 10);
  const uint32_t headerSize = readU32(file, 14);
  const int32_t width = static_cast<int32_t>(readU32(file, 18));
  const int32_t rawHeight = static_cast<int32_t>(readU32(file, 22));
  const int bits = static_cast<int>(readU16(file, 28));
  const uint32_t compression = readU32(file, 30);
  if (headerSize < kInfoHeaderSize || width <= 0 || rawHeight == 0 || compression != 0 ||
      (bits != 24 && bits != 8) || width > 16384 || std::abs(rawHeight) > 16384) {
    return std::nullopt;
  }
  const bool bottomUp = rawHeight > 0;
  const int height = std::abs(rawHeight);
  DecodedBmp result;
  result.bitsPerPixel = bits;
  std::vector<Rgb> palette;
  if (bits == 8) {
    uint32_t entries = readU32(file, 46);
    if (entries == 0) entries = 256;
    const size_t paletteStart = kFileHeaderSize + headerSize;
    if (entries > 256 || paletteStart + entries * 4 > file.size()) return std::nullopt;
    for (uint32_t i = 0; i < entries; ++i) {
      const size_t at = paletteStart + i * 4;
      palette.push_back(Rgb{file[at + 2], file[at + 1], file[at]});
    }
    result.paletteEntries = static_cast<int>(entries);
  }
  const int stride = rowStride(width, bits);
  if (pixelOffset + static_cast<size_t>(stride) * height > file.size()) return std::nullopt;
  result.image = RgbImage(width, height);
  for (int row = 0; row < height; ++row) {
    const int y = bottomUp ? height - 1 - row : row;
    const size_t rowStart = pixelOffset + static_cast<size_t>(row) * stride;
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        const size_t at = rowStart + static_cast<size_t>(x) * 3;
        result.image.at(x, y) = Rgb{file[at + 2], file[at + 1], file[at]};
      } else {
        const uint8_t index = file[rowStart + x];
        if (index >= palette.size()) return std::nullopt;
        result.image.at(x, y) = palette[index];
      }
    }
  }
  return result;
}

Bytes encodeIcon24(const RgbImage& image, const std::vector<bool>& transparent) {
  const int width = image.width();
  const int height = image.height();
  const int colourStride = rowStride(width, 24);
  const int maskStride = rowStride(width, 1);
  const uint32_t imageBytes =
      kInfoHeaderSize + static_cast<uint32_t>((colourStride + maskStride) * height);
  Bytes out;
  ByteWriter w(out);
  // ICONDIR
  w.u16(0);
  w.u16(1);  // icon
  w.u16(1);  // one image
  // ICONDIRENTRY
  w.u8(static_cast<uint32_t>(width & 0xFF));
  w.u8(static_cast<uint32_t>(height & 0xFF));
  w.u8(0);  // no palette
  w.u8(0);
  w.u16(1);   // planes
  w.u16(24);  // bit count
  w.u32(imageBytes);
  w.u32(6 + 16);
  // The image: a DIB whose height counts the colour rows and the mask rows.
  writeInfoHeader(w, width, height * 2, 24,
                  static_cast<uint32_t>((colourStride + maskStride) * height), 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      // Transparent pixels carry black so that the XOR step leaves the screen untouched.
      const Rgb p = transparent[static_cast<size_t>(y) * width + x] ? kBlack : image.at(x, y);
      w.u8(p.b);
      w.u8(p.g);
      w.u8(p.r);
    }
    for (int pad = width * 3; pad < colourStride; ++pad) w.u8(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int byte = 0; byte < maskStride; ++byte) {
      uint32_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        if (x < width && transparent[static_cast<size_t>(y) * width + x]) bits |= 0x80u >> bit;
      }
      w.u8(bits);
    }
  }
  return out;
}

Bytes encodeCursor(const CursorFrame& frame) {
  const int maskStride = rowStride(frame.width, 1);
  const uint32_t colourBytes = static_cast<uint32_t>(frame.width * frame.height * 4);
  const uint32_t maskBytes = static_cast<uint32_t>(maskStride * frame.height);
  Bytes out;
  ByteWriter w(out);
  w.u16(0);
  w.u16(2);  // cursor
  w.u16(1);
  w.u8(static_cast<uint32_t>(frame.width & 0xFF));
  w.u8(static_cast<uint32_t>(frame.height & 0xFF));
  w.u8(0);
  w.u8(0);
  w.u16(static_cast<uint32_t>(frame.hotspotX));
  w.u16(static_cast<uint32_t>(frame.hotspotY));
  w.u32(kInfoHeaderSize + colourBytes + maskBytes);
  w.u32(6 + 16);
  writeInfoHeader(w, frame.width, frame.height * 2, 32, colourBytes + maskBytes, 0);
  for (int y = frame.height - 1; y >= 0; --y) {
    for (int x = 0; x < frame.width; ++x) {
      const size_t at = (static_cast<size_t>(y) * frame.width + x) * 4;
      for (int c = 0; c < 4; ++c) w.u8(frame.bgra[at + c]);
    }
  }
  for (int y = frame.height - 1; y >= 0; --y) {
    for (int byte = 0; byte < maskStride; ++byte) {
      uint32_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        if (x < frame.width &&
            frame.bgra[(static_cast<size_t>(y) * frame.width + x) * 4 + 3] < 128) {
          bits |= 0x80u >> bit;
        }
      }
      w.u8(bits);
    }
  }
  return out;
}

Bytes encodeAnimatedCursor(const std::vector<CursorFrame>& frames,
                           const std::vector<uint32_t>& rates,
                           const std::vector<uint32_t>& sequence) {
  Bytes out;
  ByteWriter w(out);
  w.tag("RIFF");
  const size_t riffSizeAt = w.size();
  w.u32(0);
  w.tag("ACON");

  w.tag("anih");
  w.u32(36);
  w.u32(36);  // cbSize
  w.u32(static_cast<uint32_t>(frames.size()));
  w.u32(static_cast<uint32_t>(sequence.size()));
  w.u32(0);  // width, height, bit count, planes: unused when frames are icons
  w.u32(0);
  w.u32(0);
  w.u32(0);
  w.u32(rates.empty() ? 10 : rates.front());  // default rate in jiffies
  w.u32(0x1 | (sequence.empty() ? 0 : 0x2));  // AF_ICON, AF_SEQUENCE

  w.tag("LIST");
  const size_t listSizeAt = w.size();
  w.u32(0);
  w.tag("fram");
  for (const CursorFrame& frame : frames) {
    const Bytes cursor = encodeCursor(frame);
    w.tag("icon");
    w.u32(static_cast<uint32_t>(cursor.size()));
    w.bytes(cursor);
    if (cursor.size() % 2 != 0) w.u8(0);
  }
  w.patchU32(listSizeAt, static_cast<uint32_t>(w.size() - listSizeAt - 4));

  if (!rates.empty()) {
    w.tag("rate");
    w.u32(static_cast<uint32_t>(rates.size() * 4));
    for (uint32_t r : rates) w.u32(r);
  }
  if (!sequence.empty()) {
    w.tag("seq ");
    w.u32(static_cast<uint32_t>(sequence.size() * 4));
    for (uint32_t s : sequence) w.u32(s);
  }
  w.patchU32(riffSizeAt, static_cast<uint32_t>(w.size() - 8));
  return out;
}

namespace {

// The standard Microsoft ADPCM tables: the step adaptation by code, and the seven predictors
// as 8.8 fixed-point pairs (weight of the last sample, weight of the one before).
constexpr int kAdpcmAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                      768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kAdpcmCoefficients[7][2] = {{256, 0},    {512, -256}, {0, 0},     {192, 64},
                                          {240, 0},    {460, -208}, {392, -232}};

struct AdpcmState {
  int sample1, sample2, delta;
};

// Codes one sample as a decoder will rebuild it; returns the 4-bit code.
int adpcmStep(AdpcmState& s, const int* coefficient, int target) {
  const int predicted = (s.sample1 * coefficient[0] + s.sample2 * coefficient[1]) >> 8;
  const int difference = target - predicted;
  // Rounded to the nearest multiple of delta, ties away from zero.
  int code = (std::abs(difference) + s.delta / 2) / s.delta * (difference < 0 ? -1 : 1);
  code = std::clamp(code, -8, 7);
  const int rebuilt = std::clamp(predicted + code * s.delta, -32768, 32767);
  s.sample2 = s.sample1;
  s.sample1 = rebuilt;
  const int nibble = code & 0x0F;
  s.delta = std::max(16, (kAdpcmAdaptation[nibble] * s.delta) >> 8);
  return nibble;
}

struct AdpcmChoice {
  int predictor = 0, delta = 16;
  double error = 0;
};

// Codes samples[first, last) after the two header samples; error only, or the codes too.
double adpcmRun(const std::vector<int16_t>& samples, size_t first, size_t last, int predictor,
                int delta, std::vector<int>* nibbles, int* endDelta) {
  AdpcmState s{samples[first + 1], samples[first], delta};
  double error = 0;
  for (size_t i = first + 2; i < last; ++i) {
    const int nibble = adpcmStep(s, kAdpcmCoefficients[predictor], samples[i]);
    const double miss = static_cast<double>(s.sample1) - samples[i];
    error += miss * miss;
    if (nibbles != nullptr) nibbles->push_back(nibble);
  }
  if (endDelta != nullptr) *endDelta = s.delta;
  return error;
}

void writeWaveHeader(ByteWriter& w, uint32_t riffBytes) {
  w.tag("RIFF");
  w.u32(riffBytes);
  w.tag("WAVE");
}

}  // namespace

Bytes encodeMsAdpcm(const std::vector<int16_t>& samples, int blockAlign) {
  const size_t perBlock = static_cast<size_t>(msAdpcmSamplesPerBlock(blockAlign));
  Bytes out;
  ByteWriter w(out);
  int carriedDelta = 16;
  for (size_t first = 0; first < samples.size(); first += perBlock) {
    std::vector<int16_t> block(samples.begin() + static_cast<std::ptrdiff_t>(first),
                               samples.begin() + static_cast<std::ptrdiff_t>(
                                                     std::min(samples.size(), first + perBlock)));
    if (block.size() < 2) block.push_back(0);  // a header always holds two samples
    AdpcmChoice best;
    best.error = -1;
    std::vector<int> deltas = {carriedDelta};
    for (int d = 16; d <= 4096; d *= 2) deltas.push_back(d);
    for (int predictor = 0; predictor < 7; ++predictor) {
      for (int delta : deltas) {
        const double error = adpcmRun(block, 0, block.size(), predictor, delta, nullptr, nullptr);
        if (best.error < 0 || error < best.error) best = {predictor, delta, error};
      }
    }
    std::vector<int> nibbles;
    adpcmRun(block, 0, block.size(), best.predictor, best.delta, &nibbles, &carriedDelta);
    if (nibbles.size() % 2 != 0) nibbles.push_back(0);
    w.u8(static_cast<uint32_t>(best.predictor));
    w.u16(static_cast<uint32_t>(best.delta));
    w.u16(static_cast<uint32_t>(static_cast<uint16_t>(block[1])));
    w.u16(static_cast<uint32_t>(static_cast<uint16_t>(block[0])));
    for (size_t i = 0; i < nibbles.size(); i += 2)
      w.u8(static_cast<uint32_t>((nibbles[i] << 4) | nibbles[i + 1]));
  }
  return out;
}

std::vector<uint8_t> quantize8Bit(const std::vector<float>& samples, uint32_t ditherSeed) {
  // Error feedback H(z) = 1 - 1.0552 z^-1 + 0.9093 z^-2 - 0.2628 z^-3: the monic filter of least
  // noise power under a weighting of 1 in 1-5 kHz, 0.05 below and 0.02 above (at 19886 Hz). It
  // takes the noise in 1-5 kHz down by 6.4 dB and raises it above 6 kHz.
  constexpr double kFeedback[3] = {-1.0552, 0.9093, -0.2628};
  constexpr double kScale = kEightBitScale;
  // The dither fades in over the last step above silence, judged by the loudest sample within
  // 12 ms either side, so it never starts or stops under an audible sound.
  constexpr size_t kReach = 240;
  const size_t n = samples.size();
  std::vector<double> level(n, 0.0);
  {
    std::vector<double> magnitude(n);
    for (size_t i = 0; i < n; ++i) magnitude[i] = std::abs(static_cast<double>(samples[i]));
    for (size_t i = 0; i < n; ++i) {
      const size_t from = i >= kReach ? i - kReach : 0;
      const size_t to = std::min(n, i + kReach + 1);
      level[i] = *std::max_element(magnitude.begin() + static_cast<std::ptrdiff_t>(from),
                                   magnitude.begin() + static_cast<std::ptrdiff_t>(to)) *
                 kScale;
    }
  }
  uint32_t state = ditherSeed != 0 ? ditherSeed : 0x6D2B79F5u;
  auto uniform = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 4294967296.0 - 0.5;
  };
  std::vector<uint8_t> codes(n);
  double errors[3] = {0, 0, 0};  // e[n-1], e[n-2], e[n-3]
  for (size_t i = 0; i < n; ++i) {
    const double amount = std::clamp(level[i] - 0.5, 0.0, 1.0);
    const double target = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0) * kScale;
    // The code's error against the target is then H(z) applied to the rounding errors.
    const double shaped = target + amount * (kFeedback[0] * errors[0] + kFeedback[1] * errors[1] +
                                             kFeedback[2] * errors[2]);
    const double dither = amount * (uniform() + uniform());
    const double code = std::clamp(std::round(shaped + dither), -128.0, 127.0);
    codes[i] = static_cast<uint8_t>(static_cast<int>(code) + 128);
    // Bounded, so that a clipped sample cannot make the loop run away.
    errors[2] = errors[1];
    errors[1] = errors[0];
    errors[0] = std::clamp(code - shaped, -2.0, 2.0);
  }
  return codes;
}

std::vector<uint8_t> round8Bit(const std::vector<float>& samples) {
  std::vector<uint8_t> codes;
  codes.reserve(samples.size());
  for (float s : samples) {
    const double code = std::round(std::clamp(static_cast<double>(s), -1.0, 1.0) * kEightBitScale);
    codes.push_back(static_cast<uint8_t>(static_cast<int>(code) + 128));
  }
  return codes;
}

Bytes encodeWave(const WaveFormat& format, const std::vector<float>& samples,
                 uint32_t ditherSeed) {
  Bytes out;
  ByteWriter w(out);
  if (format.coding == WaveCoding::kMsAdpcm) {
    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (float s : samples) {
      pcm.push_back(static_cast<int16_t>(
          std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0)));
    }
    const Bytes data = encodeMsAdpcm(pcm, kMsAdpcmBlockAlign);
    const uint32_t perBlock = msAdpcmSamplesPerBlock(kMsAdpcmBlockAlign);
    const uint32_t dataBytes = static_cast<uint32_t>(data.size());
    writeWaveHeader(w, 4 + (8 + 50) + (8 + 4) + 8 + dataBytes + (dataBytes % 2));
    w.tag("fmt ");
    w.u32(50);
    w.u16(2);  // WAVE_FORMAT_ADPCM
    w.u16(1);
    w.u32(static_cast<uint32_t>(format.sampleRate));
    w.u32(static_cast<uint32_t>(format.sampleRate) * kMsAdpcmBlockAlign / perBlock);
    w.u16(kMsAdpcmBlockAlign);
    w.u16(4);
    w.u16(32);  // cbSize: samples per block, the coefficient count and 7 pairs
    w.u16(perBlock);
    w.u16(7);
    for (const auto& pair : kAdpcmCoefficients) {
      w.u16(static_cast<uint32_t>(static_cast<uint16_t>(pair[0])));
      w.u16(static_cast<uint32_t>(static_cast<uint16_t>(pair[1])));
    }
    w.tag("fact");
    w.u32(4);
    w.u32(static_cast<uint32_t>(samples.size()));
    w.tag("data");
    w.u32(dataBytes);
    w.bytes(data);
    if (dataBytes % 2 != 0) w.u8(0);
    return out;
  }
  const uint32_t bytesPerSample = static_cast<uint32_t>(format.bitsPerSample / 8);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * bytesPerSample;
  out.reserve(44 + dataBytes + 1);
  writeWaveHeader(w, 36 + dataBytes + (dataBytes % 2));
  w.tag("fmt ");
  w.u32(16);
  w.u16(1);  // PCM
  w.u16(static_cast<uint32_t>(format.channels));
  w.u32(static_cast<uint32_t>(format.sampleRate));
  w.u32(static_cast<uint32_t>(format.sampleRate * format.channels) * bytesPerSample);
  w.u16(static_cast<uint32_t>(format.channels) * bytesPerSample);
  w.u16(static_cast<uint32_t>(format.bitsPerSample));
  w.tag("data");
  w.u32(dataBytes);
  if (format.bitsPerSample == 8) {
    for (uint8_t code : quantize8Bit(samples, ditherSeed)) w.u8(code);
  } else {
    for (float s : samples) {
      const double clamped = std::clamp(static_cast<double>(s), -1.0, 1.0);
      w.u16(static_cast<uint32_t>(static_cast<int32_t>(std::lround(clamped * 32767.0))) & 0xFFFF);
    }
  }
  if (dataBytes % 2 != 0) w.u8(0);  // RIFF chunks are word aligned
  return out;
}

}  // namespace tolvaro::assetgen
