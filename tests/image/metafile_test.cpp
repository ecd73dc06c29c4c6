// WMF and EMF pictures: natural size, the drawn pixels, the alpha of
// uncovered pixels, corrupt files, and one metafile through korvane-cli.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>

#include "image/blackwhite.h"
#include "image/image_test_util.h"

namespace korvane {
namespace {

using testutil::Bytes;
using testutil::RecordingSink;

struct Rect {
  int left, top, right, bottom;
};

// What the test metafiles draw, in logical units that map 1:1 onto the
// picture: an optional white background over the whole extent, black
// rectangles and black ellipses.
struct Drawing {
  int width = 100, height = 100;
  bool background = true;
  std::vector<Rect> rects;
  std::vector<Rect> ellipses;
};

// The standard scene: white square, black left half, black circle centred
// at (75, 25) with radius 15.
Drawing Scene() {
  Drawing d;
  d.rects = {{0, 0, 50, 100}};
  d.ellipses = {{60, 10, 90, 40}};
  return d;
}

class Writer {
 public:
  void u16(uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  Bytes b;
};

// One WMF record: size in 16-bit words, function, parameters as given.
void WmfRecord(Writer& w, uint16_t function, std::vector<uint16_t> params) {
  w.u32(static_cast<uint32_t>(3 + params.size()));
  w.u16(function);
  for (uint16_t p : params) w.u16(p);
}

// A WMF of the drawing; with `unitsPerInch` > 0 it gets the placeable header.
Bytes Wmf(const Drawing& d, int unitsPerInch) {
  Writer body;
  auto lo = [](uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); };
  auto hi = [](uint32_t v) { return static_cast<uint16_t>(v >> 16); };
  WmfRecord(body, 0x020B, {0, 0});                                  // SETWINDOWORG y, x
  WmfRecord(body, 0x020C, {lo(d.height), lo(d.width)});             // SETWINDOWEXT y, x
  WmfRecord(body, 0x02FC, {0, lo(0x00FFFFFF), hi(0x00FFFFFF), 0});  // brush 0: white
  WmfRecord(body, 0x02FC, {0, 0, 0, 0});                            // brush 1: black
  WmfRecord(body, 0x02FA, {5, 0, 0, 0, 0});                         // pen 2: PS_NULL
  WmfRecord(body, 0x012D, {2});                                     // SELECTOBJECT pen
  if (d.background) {
    WmfRecord(body, 0x012D, {0});
    WmfRecord(body, 0x041B, {lo(d.height), lo(d.width), 0, 0});  // RECTANGLE b, r, t, l
  }
  WmfRecord(body, 0x012D, {1});
  for (const Rect& r : d.rects)
    WmfRecord(body, 0x041B, {lo(r.bottom), lo(r.right), lo(r.top), lo(r.left)});
  for (const Rect& r : d.ellipses)
    WmfRecord(body, 0x0418, {lo(r.bottom), lo(r.right), lo(r.top), lo(r.left)});
  WmfRecord(body, 0x0000, {});  // EOF

  Writer w;
  if (unitsPerInch > 0) {
    w.u32(0x9AC6CDD7);
    w.u16(0);
    const uint16_t head[] = {0, 0, lo(d.width), lo(d.height), lo(unitsPerInch)};
    for (uint16_t v : head) w.u16(v);
    w.u32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(w.b[i] | (w.b[i + 1] << 8));
    w.u16(sum);
  }
  const uint32_t words = static_cast<uint32_t>(9 + body.b.size() / 2);
  w.u16(1);       // memory metafile
  w.u16(9);       // header words
  w.u16(0x0300);  // version
  w.u32(words);
  w.u16(3);  // objects
  w.u32(8);  // largest record
  w.u16(0);
  w.b.insert(w.b.end(), body.b.begin(), body.b.end());
  return w.b;
}

void EmfRecord(Writer& w, uint32_t type, std::vector<uint32_t> params) {
  w.u32(type);
  w.u32(static_cast<uint32_t>(8 + 4 * params.size()));
  for (uint32_t p : params) w.u32(p);
}

// An EMF of the drawing in device pixels; `frame` is the header's frame in
// 0.01 mm (the bounds are the drawing's extent).
Bytes Emf(const Drawing& d, Rect frame) {
  Writer body;
  auto u = [](int v) { return static_cast<uint32_t>(v); };
  EmfRecord(body, 39, {1, 0, 0x00FFFFFF, 0});  // CREATEBRUSHINDIRECT 1: white
  EmfRecord(body, 39, {2, 0, 0, 0});           // CREATEBRUSHINDIRECT 2: black
  EmfRecord(body, 37, {0x80000008});           // SELECTOBJECT stock NULL_PEN
  if (d.background) {
    EmfRecord(body, 37, {1});
    EmfRecord(body, 43, {0, 0, u(d.width), u(d.height)});  // RECTANGLE l, t, r, b
  }
  EmfRecord(body, 37, {2});
  for (const Rect& r : d.rects) EmfRecord(body, 43, {u(r.left), u(r.top), u(r.right), u(r.bottom)});
  for (const Rect& r : d.ellipses)
    EmfRecord(body, 42, {u(r.left), u(r.top), u(r.right), u(r.bottom)});
  EmfRecord(body, 14, {0, 16, 20});  // EOF

  Writer w;
  const uint32_t total = static_cast<uint32_t>(88 + body.b.size());
  w.u32(1);
  w.u32(88);
  for (int v : {0, 0, d.width - 1, d.height - 1}) w.u32(u(v));  // bounds
  for (int v : {frame.left, frame.top, frame.right, frame.bottom}) w.u32(u(v));
  w.u32(0x464D4520);  // " EMF"
  w.u32(0x10000);
  w.u32(total);
  w.u32(3 + static_cast<uint32_t>(d.rects.size() + d.ellipses.size()) + (d.background ? 4 : 2));
  w.u16(3);  // handles
  w.u16(0);
  for (int i = 0; i < 3; ++i) w.u32(0);              // description, palette
  for (int v : {1920, 1080, 508, 286}) w.u32(u(v));  // device: 96 pixels per inch
  w.b.insert(w.b.end(), body.b.begin(), body.b.end());
  return w.b;
}

// The frame in 0.01 mm of `pixels` at 96 per inch.
int FrameOf(int pixels) { return pixels * 2540 / 96; }

bool Inside(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
bool InEllipse(const Rect& r, double x, double y) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  const double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  const double dx = (x - cx) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

// The value a pixel must have, or 0 where it sits within a pixel of an edge
// (the exact rasterisation of a border is not this decoder's business).
uint32_t Expected(const Drawing& d, int x, int y) {
  auto near = [&](auto inside) {
    bool any = false, all = true;
    for (double dy : {-1.0, 0.5, 2.0})
      for (double dx : {-1.0, 0.5, 2.0}) {
        const bool in = inside(x + dx, y + dy);
        any = any || in;
        all = all && in;
      }
    return any && !all;
  };
  bool black = false, edge = false;
  for (const Rect& r : d.rects) {
    black = black || Inside(r, x, y);
    edge = edge || near([&](double px, double py) {
             return px >= r.left && px < r.right && py >= r.top && py < r.bottom;
           });
  }
  for (const Rect& r : d.ellipses) {
    black = black || InEllipse(r, x + 0.5, y + 0.5);
    edge = edge || near([&](double px, double py) { return InEllipse(r, px, py); });
  }
  if (edge) return 0;
  if (black) return kBlack;
  return d.background ? kWhite : 0x00FFFFFFu;
}

struct Case {
  const char* name;
  Bytes file;
  Drawing drawing;
};

std::vector<Case> Cases() {
  Drawing bare = Scene();
  bare.background = false;
  Drawing wide = Scene();
  wide.width = 130;
  wide.height = 70;
  wide.rects = {{0, 0, 65, 70}};
  wide.ellipses = {{80, 5, 120, 55}};
  // Wider than one drawing tile and higher than one band of rows.
  Drawing large = Scene();
  large.width = 9000;
  large.height = 480;
  large.rects = {{8000, 100, 8400, 470}};
  large.ellipses = {{100, 10, 400, 400}};
  return {
      {"placeable.wmf", Wmf(Scene(), 96), Scene()},
      {"plain.wmf", Wmf(Scene(), 0), Scene()},
      {"bare.wmf", Wmf(bare, 96), bare},
      {"wide.wmf", Wmf(wide, 96), wide},
      {"large.wmf", Wmf(large, 96), large},
      {"scene.emf", Emf(Scene(), {0, 0, FrameOf(100), FrameOf(100)}), Scene()},
      {"bare.emf", Emf(bare, {0, 0, FrameOf(100), FrameOf(100)}), bare},
      {"wide.emf", Emf(wide, {0, 0, FrameOf(130), FrameOf(70)}), wide},
  };
}

TEST(Metafile, DrawsAtNaturalSizeWithCrispOpaqueShapesAndClearUncoveredPixels) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    RecordingSink sink;
    std::string error;
    ASSERT_TRUE(testutil::Decode(c.file, sink, error, c.name)) << error;
    EXPECT_EQ(sink.begins, 1);
    EXPECT_TRUE(sink.allRowsOnce());
    ASSERT_EQ(sink.pic.width, c.drawing.width);
    ASSERT_EQ(sink.pic.height, c.drawing.height);
    int wrong = 0, checked = 0;
    for (int y = 0; y < sink.pic.height; ++y)
      for (int x = 0; x < sink.pic.width; ++x) {
        const uint32_t got = sink.pic.at(x, y);
        // Shapes are drawn without smoothing: even edge pixels are pure.
        if (got != kBlack && got != (c.drawing.background ? kWhite : 0x00FFFFFFu)) ++wrong;
        const uint32_t want = Expected(c.drawing, x, y);
        if (want == 0) continue;
        ++checked;
        if (got != want) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got;
          if (++wrong > 5) return;
        }
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(checked, sink.pic.width * sink.pic.height / 2);
    EXPECT_EQ(IsBlackWhite(sink.pic), c.drawing.background);
  }
}

TEST(Metafile, PhysicalSizeBecomesPixelsAt96PerInch) {
  struct SizeCase {
    const char* name;
    Bytes file;
    int width, height;
  };
  const Drawing d = Scene();  // 100 x 100 units
  const SizeCase cases[] = {
      {"192 units per inch", Wmf(d, 192), 50, 50},
      {"1440 units per inch (twips)", Wmf(d, 1440), 7, 7},  // 6.67 rounds up
      {"frame of 2 inches", Emf(d, {0, 0, 5080, 2540}), 192, 96},
      {"frame not at the origin", Emf(d, {1000, 1000, 1000 + 2540, 1000 + 1270}), 96, 48},
      {"no frame: the bounds", Emf(d, {0, 0, 0, 0}), 100, 100},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSink sink;
    std::string error;
    ASSERT_TRUE(testutil::Decode(c.file, sink, error, "x.emf")) << error;
    EXPECT_EQ(sink.pic.width, c.width);
    EXPECT_EQ(sink.pic.height, c.height);
  }
}

TEST(Metafile, CorruptOrOversizedFilesGiveTheMetafileError) {
  const Bytes wmf = Wmf(Scene(), 96);
  const Bytes emf = Emf(Scene(), {0, 0, FrameOf(100), FrameOf(100)});
  auto cut = [](const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + n); };
  auto patched = [](Bytes b, size_t at, uint32_t v) {
    testutil::Put32(b, at, v);
    return b;
  };
  auto patched16 = [](Bytes b, size_t at, uint32_t v) {
    testutil::Put16(b, at, v);
    return b;
  };
  struct BadCase {
    const char* name;
    Bytes file;
  };
  const BadCase cases[] = {
      {"placeable header only", cut(wmf, 22)},
      {"wmf cut inside the header", cut(wmf, 30)},
      {"wmf header with zero units per inch", patched16(wmf, 14, 0)},
      {"wmf too large", patched16(patched16(wmf, 10, 0x7FFF), 12, 0x7FFF) /* 32767 px at 96 */},
      {"emf cut inside the header", cut(emf, 60)},
      {"emf claiming more bytes than it has",
       patched(emf, 48, static_cast<uint32_t>(emf.size() + 4))},
      {"emf with a broken record size", patched(emf, 88 + 4, 0xFFFFFFF0u)},
      {"emf too large", patched(patched(emf, 32, 2540 * 20000), 36, 2540 * 20000)},
      {"emf without frame or bounds", patched(patched(patched(emf, 16, ~0u), 20, ~0u), 32, 0)},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(testutil::Decode(c.file, sink, error, "bild.wmf"));
    EXPECT_EQ(error, "Metadatei ist ungültig");
  }
  // Unrecognisable content named as a metafile.
  for (const char* name : {"bild.wmf", "bild.EMF"}) {
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(testutil::Decode(Bytes(40, 0x55), sink, error, name));
    EXPECT_EQ(error, "Metadatei ist ungültig") << name;
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Metafile, CliTracesAWmf) {
  testutil::TempDir dir;
  const std::string picture = dir.write("scene.wmf", Wmf(Scene(), 96));
  const std::string cmd = std::string("'") + KORVANE_CLI + "' '" + picture + "' -o '" +
                          dir.file("out.ngc") + "' --config '" + dir.file("config") + "' 2>'" +
                          dir.file("stderr") + "' </dev/null >/dev/null";
  const int rc = std::system(cmd.c_str());
  const std::string err = ReadAll(dir.file("stderr"));
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(err, m, std::regex("(\\d+) segments"))) << err;
  EXPECT_GT(std::stoi(m[1]), 0);
  EXPECT_EQ(err.find("threshold"), std::string::npos) << "the picture is black and white: " << err;
  EXPECT_FALSE(ReadAll(dir.file("out.ngc")).empty());
}

}  // namespace
}  // namespace korvane
