#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <iterator>

#include "image/imageedit_ui.h"
#include "image/imageops.h"
#include "image/tffilter_ui.h"
#include "image/tfhkg_ui.h"
#include "image/tfresize_ui.h"

namespace korvane {
namespace {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// A grey photo-like picture: gradients, a transparent pixel, a 127 (which the
// neutral table maps to 128).
Picture Photo(int32_t w = 16, int32_t h = 12) {
  Picture p;
  p.resize(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = static_cast<uint32_t>((x * 13 + y * 7) % 256);
      p.at(x, y) = Argb(255, v, (v + 40) % 256, (v * 3) % 256);
    }
  p.at(1, 1) = Argb(0, 10, 20, 30);
  p.at(2, 1) = Argb(255, 127, 127, 127);
  return p;
}

Picture Toned(const Picture& src, int br, int co, int ga) {
  Picture out;
  ApplyToneTable(src, BuildLevelsTable(br, co, ga), out);
  return out;
}

template <typename T>
T* Child(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

void Click(QWidget& w, const char* name) {
  if (auto* b = Child<QPushButton>(w, name)) b->click();
}

// ---- correction -------------------------------------------------------------

TEST(CorrectionDialog, SlidersPreviewFromTheAcceptedImage) {
  Picture accepted = Photo();
  Picture working = accepted;
  TFHkg dlg(working, accepted);
  QSignalSpy repaint(&dlg, &ImageEditDialog::pictureChanged);
  dlg.show();
  EXPECT_EQ(working, accepted);  // every slider already at 0: nothing applied
  EXPECT_TRUE(repaint.isEmpty());
  auto* brightness = Child<QSlider>(dlg, "sbBrightness");
  auto* contrast = Child<QSlider>(dlg, "sbContrast");
  auto* gamma = Child<QSlider>(dlg, "sbGamma");
  ASSERT_TRUE(brightness && contrast && gamma);
  EXPECT_EQ(brightness->minimum(), -100);
  EXPECT_EQ(gamma->maximum(), 100);

  brightness->setValue(50);
  EXPECT_EQ(working, Toned(accepted, 50, 0, 0));
  contrast->setValue(-30);
  gamma->setValue(80);
  EXPECT_EQ(working, Toned(accepted, 50, -30, 80));  // one table of all three
  EXPECT_EQ(working.at(1, 1) >> 24, 255u);
  EXPECT_EQ(Child<QLabel>(dlg, "sbGammaValue")->text(), "80");
  EXPECT_EQ(repaint.size(), 3);

  // Back to 0: the same picture as the neutral table applied once.
  brightness->setValue(0);
  contrast->setValue(0);
  gamma->setValue(60);
  gamma->setValue(0);
  EXPECT_EQ(working, Toned(accepted, 0, 0, 0));
  Click(dlg, "BRestore");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(working, accepted);
}

TEST(CorrectionDialog, ShowingResetsTheSlidersAndAppliesOnlyWhenOneMoves) {
  Picture accepted = Photo();
  Picture working = accepted;
  TFHkg dlg(working, accepted);
  dlg.show();
  Child<QSlider>(dlg, "sbContrast")->setValue(40);
  Click(dlg, "BRestore");
  // A change never accepted (a resize, say) is replaced at once by the
  // corrected accepted image, because the contrast slider moves back to 0.
  working = Photo(30, 20);
  dlg.show();
  EXPECT_EQ(Child<QSlider>(dlg, "sbContrast")->value(), 0);
  EXPECT_EQ(working, Toned(accepted, 0, 0, 0));
  EXPECT_EQ(working.at(2, 1), Argb(255, 128, 128, 128));
  Click(dlg, "BRestore");

  // Left with every slider at 0: showing again applies nothing.
  working = Photo(30, 20);
  dlg.show();
  EXPECT_EQ(working, Photo(30, 20));
  dlg.reject();
}

TEST(CorrectionDialog, AcceptKeepsTheResultAndReportsTheTest) {
  Picture accepted = Photo();
  Picture working = accepted;
  TFHkg dlg(working, accepted);
  QSignalSpy warning(&dlg, &ImageEditDialog::bwWarningChanged);
  dlg.show();
  Child<QSlider>(dlg, "sbBrightness")->setValue(100);  // all white: a black-and-white picture
  Click(dlg, "BStore");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(accepted, working);
  EXPECT_EQ(working.px, std::vector<uint32_t>(working.px.size(), kWhite));
  ASSERT_EQ(warning.size(), 1);
  EXPECT_FALSE(warning[0][0].toBool());
}

// ---- filter -----------------------------------------------------------------

TEST(FilterDialog, CumulativeUndoCancelAccept) {
  Picture accepted = Photo();
  Picture working = accepted;
  TFFilter dlg(working, accepted);
  QSignalSpy warning(&dlg, &ImageEditDialog::bwWarningChanged);
  dlg.show();
  Click(dlg, "BScharf");
  Click(dlg, "BScharf");
  Picture twice = accepted;
  Convolve3x3(KernelOf(FilterKind::Scharf), twice);
  Convolve3x3(KernelOf(FilterKind::Scharf), twice);
  EXPECT_EQ(working, twice);
  Click(dlg, "BUndo");
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(working, accepted);

  // Every button, in a row, on top of each other.
  const struct {
    const char* button;
    void (*op)(Picture&);
  } steps[] = {
      {"BGrenzwert", [](Picture& p) { Convolve3x3(KernelOf(FilterKind::Grenzwert), p); }},
      {"BInvert", [](Picture& p) { InvertImage(p); }},
      {"BHipass", [](Picture& p) { Convolve3x3(KernelOf(FilterKind::Hipass), p); }},
      {"BEdge", [](Picture& p) { Convolve3x3(KernelOf(FilterKind::Kanten), p); }},
      {"BPraegen", [](Picture& p) { Convolve3x3(KernelOf(FilterKind::Praegen), p); }},
      {"BWeich", [](Picture& p) { Convolve3x3(KernelOf(FilterKind::Weich), p); }},
      {"BGraustufen", [](Picture& p) { GreyImage(p); }},
  };
  Picture expected = accepted;
  for (const auto& s : steps) {
    Click(dlg, s.button);
    s.op(expected);
    EXPECT_EQ(working, expected) << s.button;
  }
  Click(dlg, "BRestore");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(working, accepted);
  EXPECT_TRUE(warning.isEmpty());

  dlg.show();
  Click(dlg, "BInvert");
  Click(dlg, "BStore");
  Picture inverted = Photo();
  InvertImage(inverted);
  EXPECT_EQ(accepted, inverted);
  EXPECT_EQ(working, inverted);
  ASSERT_EQ(warning.size(), 1);
  EXPECT_TRUE(warning[0][0].toBool());  // still grey
}

// ---- resize -----------------------------------------------------------------

void Type(QSpinBox* field, const char* text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, QString::fromLatin1(text));
}

TEST(ResizeDialog, LinksTheFieldsAndResizesTheWorkingImageOnly) {
  Picture accepted = Photo(640, 480);
  Picture working = accepted;
  std::pair<std::string, std::string> imageXY{"640", "480"};
  TFResize dlg(working, [&] { return imageXY; });
  QSignalSpy resized(&dlg, &TFResize::resized);
  QObject::connect(&dlg, &TFResize::resized, [&](int w, int h) {
    imageXY = {std::to_string(w), std::to_string(h)};
  });
  dlg.show();
  auto* x = Child<QSpinBox>(dlg, "AusgabeX");
  auto* y = Child<QSpinBox>(dlg, "AusgabeY");
  ASSERT_TRUE(x && y);
  EXPECT_EQ(Child<QLineEdit>(dlg, "SImageX")->text(), "640");
  EXPECT_EQ(x->value(), 640);
  EXPECT_EQ(y->value(), 480);
  Type(x, "320");
  EXPECT_EQ(y->value(), 240);
  Type(y, "100");
  EXPECT_EQ(x->value(), 133);
  EXPECT_EQ(y->value(), 100);
  Type(y, "240");
  EXPECT_EQ(x->value(), 320);

  Click(dlg, "BStore");
  EXPECT_FALSE(dlg.isVisible());
  ASSERT_EQ(resized.size(), 1);
  EXPECT_EQ(working.width, 320);
  EXPECT_EQ(working.height, 240);
  EXPECT_EQ(working.at(0, 0), accepted.at(1, 1));  // the source pixel under the centre
  EXPECT_EQ(accepted.width, 640);

  // "Rückgängig" in the filter dialog brings back the former picture, while
  // the size fields keep the new numbers.
  TFFilter filter(working, accepted);
  filter.show();
  Click(filter, "BUndo");
  EXPECT_EQ(working, accepted);
  filter.reject();
  dlg.show();
  EXPECT_EQ(Child<QLineEdit>(dlg, "SImageX")->text(), "320");
  EXPECT_EQ(x->value(), 320);
  dlg.reject();
}

TEST(ResizeDialog, RefusedSizesAndCancelChangeNothing) {
  Picture working = Photo(640, 480);
  const Picture before = working;
  TFResize dlg(working);
  QSignalSpy resized(&dlg, &TFResize::resized);
  dlg.show();
  auto* x = Child<QSpinBox>(dlg, "AusgabeX");
  auto* y = Child<QSpinBox>(dlg, "AusgabeY");
  ASSERT_TRUE(x && y);
  EXPECT_EQ(x->minimum(), 10);
  EXPECT_EQ(x->maximum(), 9999999);
  Type(x, "100");
  Click(dlg, "BRestore");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(working, before);

  // The size check stands on its own, even below the fields' minimum.
  dlg.show();
  EXPECT_EQ(x->value(), 640);  // filled again on showing
  x->setMinimum(1);
  y->setValue(500);
  x->blockSignals(true);  // 9 by 500 exactly, without the link answering
  x->setValue(9);
  x->blockSignals(false);
  Click(dlg, "BStore");
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(working, before);
  EXPECT_TRUE(resized.isEmpty());
}

// ---- captions and icons --------------------------------------------------------

TEST(ImageDialogs, CaptionsComeFromTheLookup) {
  Picture a, b;
  TFHkg hkg(a, b);
  TFFilter filter(a, b);
  TFResize resize(a);
  EXPECT_EQ(hkg.windowTitle(), "Korrektur");
  EXPECT_EQ(filter.windowTitle(), "Filter");
  EXPECT_EQ(resize.windowTitle(), QString::fromUtf8("Größe ändern"));
  EXPECT_EQ(Child<QPushButton>(filter, "BUndo")->text(), QString::fromUtf8("Rückgängig"));
  EXPECT_EQ(Child<QLabel>(hkg, "LGamma")->text(), "Gammakorrektur");

  const CaptionLookup numbered = [](int n) { return "T" + std::to_string(n); };
  hkg.applyCaptions(numbered);
  filter.applyCaptions(numbered);
  resize.applyCaptions(numbered);
  EXPECT_EQ(hkg.windowTitle(), "T6300");
  EXPECT_EQ(Child<QLabel>(hkg, "LHelligkeit")->text(), "T6301");
  EXPECT_EQ(Child<QPushButton>(filter, "BPraegen")->text(), "T6405");
  EXPECT_EQ(Child<QLabel>(resize, "LNeu")->text(), "T6502");
  EXPECT_EQ(Child<QPushButton>(resize, "BStore")->text(), "T6504");
}

TEST(ImageDialogs, GermanLanguageFileRepeatsTheDesignedCaptions) {
  std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "/data/lang/german.txt", std::ios::binary);
  LanguageTexts texts;
  texts.lines = SplitLanguageLines(
      std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  for (auto table : {CorrectionDialogCaptions(), FilterDialogCaptions(), ResizeDialogCaptions()})
    for (const CaptionEntry& e : table) EXPECT_EQ(texts.LangText(e.number), e.german) << e.number;
  for (const char* file : {"english.txt", "french.txt", "spanish.txt"}) {
    std::ifstream other(std::string(KORVANE_SOURCE_DIR) + "/data/lang/" + file, std::ios::binary);
    LanguageTexts t;
    t.lines = SplitLanguageLines(
        std::string(std::istreambuf_iterator<char>(other), std::istreambuf_iterator<char>()));
    for (auto table : {CorrectionDialogCaptions(), FilterDialogCaptions(), ResizeDialogCaptions()})
      for (const CaptionEntry& e : table) EXPECT_FALSE(t.LangText(e.number).empty()) << file << e.number;
  }
}

TEST(ImageDialogs, ToolbarIconsLoad) {
  InitImageIcons();
  for (const char* name : {"hkg", "filter", "rot90", "flipv", "fliph", "resize"}) {
    const QIcon icon(QStringLiteral(":/icons/") + QString::fromLatin1(name) + ".svg");
    EXPECT_FALSE(icon.pixmap(24, 24).isNull()) << name;
  }
}

}  // namespace
}  // namespace korvane
