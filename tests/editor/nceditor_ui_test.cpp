#include "editor/nceditor_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

#include "base/messages.h"
#include "editor/nchighlighter_ui.h"
#include "support/recording_progress.h"

namespace korvane {
namespace {

using Sci = QsciScintillaBase;

// What one character must look like on screen.
struct Look {
  QColor colour;
  bool bold;
  bool italic;
  bool operator==(const Look&) const = default;
};

const Look kLabel{QColor(255, 0, 0), true, false};
const Look kNumber{QColor(0, 0, 128), true, false};
const Look kMarker{QColor(128, 128, 128), false, true};
const Look kIdent{QColor(128, 128, 128), true, true};
const Look kPlain{QColor(0, 0, 0), false, false};

std::ostream& operator<<(std::ostream& os, const Look& l) {
  return os << l.colour.name().toStdString() << (l.bold ? " bold" : "") << (l.italic ? " italic" : "");
}

// The look the editor gives the byte at `pos`, read back from the component.
Look LookAt(const NcEditor& ed, long pos) {
  const long style = ed.SendScintilla(Sci::SCI_GETSTYLEAT, pos);
  const long bgr = ed.SendScintilla(Sci::SCI_STYLEGETFORE, style);
  return {QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                 static_cast<int>((bgr >> 16) & 0xFF)),
          std::abs(ed.SendScintilla(Sci::SCI_STYLEGETWEIGHT, style)) >= QFont::DemiBold,
          ed.SendScintilla(Sci::SCI_STYLEGETITALIC, style) != 0};
}

long LineStart(const NcEditor& ed, int line) {
  return ed.SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
}

struct LineLooks {
  std::string line;         // UTF-8
  std::vector<Look> looks;  // one per character
};

const std::vector<LineLooks>& Cases() {
  static const std::vector<LineLooks> cases = {
      {"G01 X-1.5", {kLabel, kNumber, kNumber, kPlain, kLabel, kNumber, kNumber, kNumber, kNumber}},
      {"N10 G0", {kMarker, kMarker, kMarker, kMarker, kLabel, kNumber}},
      {"N", {kMarker}},
      {"N 10X+-.,5", {kMarker, kMarker, kMarker, kMarker, kLabel, kNumber, kNumber, kNumber,
                      kNumber, kNumber}},
      {"n10(;", {kIdent, kNumber, kNumber, kIdent, kIdent}},
      // A tab and blanks are space; U+00FF is code 255 (the editor's colours),
      // other letters beyond ASCII count as "other", whatever their length.
      {"\t \xc3\xbfZ", {kPlain, kPlain, kPlain, kLabel}},
      {"(Fr\xc3\xa4ser \xe2\x82\xac" "3)", {kIdent, kLabel, kIdent, kIdent, kIdent, kIdent, kIdent,
                                          kPlain, kIdent, kNumber, kIdent}},
      {"", {}},
      {"M30", {kLabel, kNumber, kNumber}},
  };
  return cases;
}

size_t Utf8Length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Every character of every case line looks as tabled, all its bytes alike.
void ExpectLooks(const NcEditor& ed) {
  for (size_t l = 0; l < Cases().size(); ++l) {
    const LineLooks& c = Cases()[l];
    long pos = LineStart(ed, static_cast<int>(l));
    size_t byte = 0;
    for (size_t ch = 0; ch < c.looks.size(); ++ch) {
      ASSERT_LT(byte, c.line.size()) << c.line;
      const size_t len = Utf8Length(static_cast<unsigned char>(c.line[byte]));
      for (size_t k = 0; k < len; ++k) {
        EXPECT_EQ(LookAt(ed, pos + static_cast<long>(k)), c.looks[ch])
            << "'" << c.line << "' character " << ch << " byte " << k;
      }
      pos += static_cast<long>(len);
      byte += len;
    }
    EXPECT_EQ(byte, c.line.size()) << c.line;
  }
}

LineStore CaseLines() {
  LineStore lines;
  for (const LineLooks& c : Cases()) lines.push_back(c.line);
  return lines;
}

struct Shown {
  NcEditor ed;
  Shown() {
    ed.resize(400, 300);
    ed.show();
  }
  void paint() {
    ed.viewport()->repaint();
    QApplication::processEvents();
  }
};

TEST(NcEditor, ColoursTheShownProgramByTheTokenRules) {
  Shown s;
  s.ed.setProgram(CaseLines());
  s.paint();
  ExpectLooks(s.ed);
  EXPECT_EQ(s.ed.objectName(), "NCEditor");
  EXPECT_EQ(s.ed.programLines(), CaseLines());
}

TEST(NcEditor, ColoursOnlyWhatIsShownAndTheRestWhenScrolledTo) {
  Shown s;
  std::vector<std::string> lines(5000, "G1 X1");
  lines[2500] = "x2";
  lines.back() = "N99 X2";
  s.ed.setProgram(LineStore(lines));
  s.paint();
  EXPECT_LT(s.ed.highlighter()->colouredLines(), 200);
  const long last = LineStart(s.ed, 4999);
  EXPECT_EQ(s.ed.SendScintilla(Sci::SCI_GETSTYLEAT, last), TNCSyn::kUncoloured);
  // Jump to the end, then back into the middle that was skipped.
  s.ed.scrollToLine(4999);
  s.paint();
  EXPECT_EQ(LookAt(s.ed, last), kMarker);
  EXPECT_EQ(LookAt(s.ed, last + 4), kLabel);
  EXPECT_EQ(LookAt(s.ed, last + 5), kNumber);
  s.ed.scrollToLine(2500);
  s.paint();
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 2500)), kIdent);
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 2500) + 1), kNumber);
  EXPECT_LT(s.ed.highlighter()->colouredLines(), 600);
}

TEST(NcEditor, EditedAndPastedTextIsColoured) {
  Shown s;
  s.ed.setProgram(LineStore{"G0 X1", "M30"});
  s.paint();
  s.ed.setCursorPosition(1, 0);
  s.ed.insert("N5 Y2\nx");
  s.paint();
  EXPECT_EQ(s.ed.programLines(), (LineStore{"G0 X1", "N5 Y2", "xM30"}));
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 1)), kMarker);
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 1) + 3), kLabel);
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 2)), kIdent);
  EXPECT_EQ(LookAt(s.ed, LineStart(s.ed, 2) + 1), kLabel);
}

TEST(NcEditor, ModifiedMarkAndUndo) {
  NcEditor ed;
  QSignalSpy spy(&ed, &NcEditor::modifiedChanged);
  ed.setProgram(LineStore{"G0 X1", "M30"});
  EXPECT_FALSE(ed.isModified());
  ed.setCursorPosition(0, 0);
  ed.insert("N1 ");
  EXPECT_TRUE(ed.isModified());
  ASSERT_FALSE(spy.isEmpty());
  EXPECT_TRUE(spy.last().at(0).toBool());
  EXPECT_EQ(ed.programLines(), (LineStore{"N1 G0 X1", "M30"}));
  ed.undo();
  EXPECT_EQ(ed.programLines(), (LineStore{"G0 X1", "M30"}));
  EXPECT_FALSE(ed.isModified());
  ed.redo();
  EXPECT_EQ(ed.programLines(), (LineStore{"N1 G0 X1", "M30"}));
  // Saving clears the mark; a caller may also set it without an edit.
  ed.setModified(false);
  EXPECT_FALSE(ed.isModified());
  EXPECT_FALSE(spy.last().at(0).toBool());
  ed.setModified(true);
  EXPECT_TRUE(ed.isModified());
  EXPECT_TRUE(spy.last().at(0).toBool());
  // A new program is not an edit, and it cannot be undone into the old one.
  ed.setProgram(LineStore{"G1 Y2"});
  EXPECT_FALSE(ed.isModified());
  EXPECT_FALSE(ed.isUndoAvailable());
  ed.undo();
  EXPECT_EQ(ed.programLines(), LineStore{"G1 Y2"});
  ed.clearProgram();
  EXPECT_TRUE(ed.programLines().empty());
}

// A line store other than a vector of strings: one text with line starts.
struct PackedLines {
  std::string text;
  std::vector<size_t> starts;
  size_t size() const { return starts.size(); }
  std::string_view operator[](size_t i) const {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    return std::string_view(text).substr(starts[i], end - starts[i]);
  }
};

TEST(NcEditor, LoadsALargeProgramInPiecesWithProgress) {
  // Several pieces' worth of lines, in every kind of line list.
  std::vector<std::string> lines;
  PackedLines packed;
  for (int i = 0; i < 150000; ++i) {
    lines.push_back("N" + std::to_string(i) + " G1 X" + std::to_string(i % 977) + ".5 Y-3");
    packed.starts.push_back(packed.text.size());
    packed.text += lines.back();
  }
  const LineStore store(lines);
  const std::function<void(NcEditor&, ProgressSink*)> loads[] = {
      [&](NcEditor& ed, ProgressSink* p) { ed.setProgram(lines, p); },
      [&](NcEditor& ed, ProgressSink* p) { ed.setProgram(packed, p); },
      [&](NcEditor& ed, ProgressSink* p) { ed.setProgram(store, p); },
  };
  for (const auto& load : loads) {
    NcEditor ed;
    ed.setProgram(LineStore{"G0 X1"});
    ed.insert("N1 ");  // an edit of the old program
    testing::RecordingProgress progress;
    load(ed, &progress);
    const LineStore shown = ed.programLines();
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.end()), lines);
    EXPECT_EQ(ed.lineCount(), static_cast<int>(lines.size()));
    EXPECT_FALSE(ed.isModified());
    EXPECT_FALSE(ed.isUndoAvailable());
    // Piece by piece from 0 to 100, rising, all under the one text.
    ASSERT_GE(progress.calls.size(), 4u);
    EXPECT_EQ(progress.calls.front().second, 0);
    EXPECT_EQ(progress.calls.back().second, 100);
    for (size_t i = 0; i < progress.calls.size(); ++i) {
      EXPECT_EQ(progress.calls[i].first, kEditorLoadText);
      if (i > 0) {
        EXPECT_GE(progress.calls[i].second, progress.calls[i - 1].second);
      }
    }
    // Edits of the loaded program undo and redo as usual.
    ed.setCursorPosition(149999, 0);
    ed.insert("(x)");
    EXPECT_TRUE(ed.isModified());
    ed.undo();
    EXPECT_EQ(ed.programLines().back(), lines.back());
    EXPECT_FALSE(ed.isModified());
    ed.redo();
    EXPECT_EQ(ed.programLines().back(), "(x)" + lines.back());
  }
  // An empty program reports nothing.
  NcEditor ed;
  testing::RecordingProgress progress;
  ed.setProgram(std::vector<std::string>(), &progress);
  EXPECT_TRUE(progress.calls.empty());
  EXPECT_TRUE(ed.programLines().empty());
}

TEST(NcEditor, KeepsTheBytesAndLineEndsOfTheText) {
  NcEditor ed;
  const LineStore lines = {"(Fr\xc3\xa4ser \xc3\xb8 3)", "G0 X1", "", "\xff\xfe bad", ""};
  ed.setProgram(lines);
  EXPECT_EQ(ed.programLines(), lines);
  EXPECT_EQ(ed.lineCount(), 5);
  // Text pasted with other line ends splits where the component splits it.
  ed.SendScintilla(Sci::SCI_SETTEXT, "a\r\nb\rc\nd");
  EXPECT_EQ(ed.programLines(), (LineStore{"a", "b", "c", "d"}));
}

TEST(NcEditor, MarkedLineScrollingAndCaretLine) {
  Shown s;
  const LineStore lines(std::vector<std::string>(3000, "G1 X1"));
  s.ed.setProgram(lines);
  s.paint();
  QSignalSpy caret(&s.ed, &NcEditor::caretLineChanged);
  const struct {
    int line;
    int marked;
  } cases[] = {{1200, 1200}, {5, 5}, {2999, 2999}, {3000, -1}, {-1, -1}};
  for (const auto& c : cases) {
    s.ed.setMarkedLine(c.line);
    EXPECT_EQ(s.ed.markedLine(), c.marked) << c.line;
    // Exactly the marked line carries the mark.
    for (int l : {5, 1200, 2999}) EXPECT_EQ(s.ed.markersAtLine(l) != 0, l == c.marked) << c.line;
  }
  s.ed.scrollToLine(1200);
  const int top = s.ed.firstVisibleLine();
  EXPECT_LE(top, 1200);
  EXPECT_GT(top + static_cast<int>(s.ed.SendScintilla(Sci::SCI_LINESONSCREEN)), 1200);
  s.ed.scrollToLine(1201);  // already shown: no jump
  EXPECT_EQ(s.ed.firstVisibleLine(), top);
  s.ed.setCursorPosition(1210, 2);
  s.paint();  // the component reports caret moves when it updates the screen
  EXPECT_EQ(s.ed.caretLine(), 1210);
  ASSERT_EQ(caret.size(), 1);
  EXPECT_EQ(caret.last().at(0).toInt(), 1210);
  s.ed.setCursorPosition(1210, 4);  // same line: no signal
  s.paint();
  EXPECT_EQ(caret.size(), 1);
}

}  // namespace
}  // namespace korvane
