#include "editor/nceditor_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <string>
#include <vector>

#include "editor/nchighlighter_ui.h"

namespace korvane {
namespace {

// What one character of a line must look like; colour invalid = no format.
struct Look {
  QColor colour;
  bool bold;
  bool italic;
};

const Look kLabel{QColor(255, 0, 0), true, false};
const Look kNumber{QColor(0, 0, 128), true, false};
const Look kMarker{QColor(128, 128, 128), false, true};
const Look kIdent{QColor(128, 128, 128), true, true};
const Look kPlain{QColor(), false, false};

// The look of the character at `pos` from a block's layout formats.
Look LookAt(const QTextBlock& b, int pos) {
  for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
    if (pos >= r.start && pos < r.start + r.length) {
      return {r.format.hasProperty(QTextFormat::ForegroundBrush) ? r.format.foreground().color()
                                                                 : QColor(),
              r.format.fontWeight() == QFont::Bold, r.format.fontItalic()};
    }
  }
  return kPlain;
}

struct LineLooks {
  QString line;
  std::vector<Look> looks;  // one per character
};

const std::vector<LineLooks>& Cases() {
  static const std::vector<LineLooks> cases = {
      {"G01 X-1.5", {kLabel, kNumber, kNumber, kPlain, kLabel, kNumber, kNumber, kNumber, kNumber}},
      {"N10 G0", {kMarker, kMarker, kMarker, kMarker, kLabel, kNumber}},
      {"n5(;", {kIdent, kNumber, kIdent, kIdent}},
      {QString("\t") + QChar(0xFF) + "Z", {kPlain, kPlain, kLabel}},
  };
  return cases;
}

void ExpectLooks(const QTextDocument& doc) {
  QTextBlock b = doc.firstBlock();
  for (const LineLooks& c : Cases()) {
    ASSERT_TRUE(b.isValid());
    ASSERT_EQ(b.text(), c.line);
    ASSERT_EQ(static_cast<int>(c.looks.size()), c.line.size());
    for (int i = 0; i < c.line.size(); ++i) {
      const Look got = LookAt(b, i);
      const Look& want = c.looks[static_cast<size_t>(i)];
      SCOPED_TRACE(::testing::Message() << c.line.toStdString() << " at " << i);
      EXPECT_EQ(got.colour, want.colour);
      EXPECT_EQ(got.bold, want.bold);
      EXPECT_EQ(got.italic, want.italic);
    }
    b = b.next();
  }
}

QString CaseText() {
  QStringList lines;
  for (const LineLooks& c : Cases()) lines << c.line;
  return lines.join('\n');
}

TEST(NcHighlighter, ColoursABareDocument) {
  QTextDocument doc;
  doc.documentLayout();  // without a layout the document reports no changes
  TNCSyn hl(&doc);
  doc.setPlainText(CaseText());
  ExpectLooks(doc);
}

TEST(NcEditor, ColoursTheShownProgram) {
  NcEditor ed;
  ed.resize(400, 300);
  ed.show();
  std::vector<std::string> lines;
  for (const LineLooks& c : Cases()) lines.push_back(c.line.toStdString());
  ed.setProgram(lines);
  QApplication::processEvents();
  ExpectLooks(*ed.document());
  EXPECT_EQ(ed.objectName(), "NCEditor");
  EXPECT_EQ(ed.programLines(), lines);
}

TEST(NcEditor, LinesOutOfViewAreColouredWhenScrolledTo) {
  NcEditor ed;
  ed.resize(400, 300);
  ed.show();
  std::vector<std::string> lines(5000, "G1 X1");
  lines.back() = "N99 X2";
  ed.setProgram(lines);
  QApplication::processEvents();
  const QTextBlock last = ed.document()->lastBlock();
  EXPECT_TRUE(last.layout()->formats().isEmpty());  // not painted yet
  ed.verticalScrollBar()->setValue(ed.verticalScrollBar()->maximum());
  ed.viewport()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(LookAt(last, 0).colour, kMarker.colour);
  EXPECT_EQ(LookAt(last, 4).colour, kLabel.colour);
  EXPECT_EQ(LookAt(last, 5).colour, kNumber.colour);
}

TEST(NcEditor, ModifiedMark) {
  NcEditor ed;
  QSignalSpy spy(&ed, &NcEditor::modifiedChanged);
  ed.setProgram({"G0 X1", "M30"});
  EXPECT_FALSE(ed.isModified());
  QTextCursor c(ed.document());
  c.insertText("N1 ");
  EXPECT_TRUE(ed.isModified());
  ASSERT_FALSE(spy.isEmpty());
  EXPECT_TRUE(spy.last().at(0).toBool());
  EXPECT_EQ(ed.programLines(), (std::vector<std::string>{"N1 G0 X1", "M30"}));
  // A new program is not an edit, and it cannot be undone into the old one.
  ed.setProgram({"G1 Y2"});
  EXPECT_FALSE(ed.isModified());
  EXPECT_FALSE(ed.document()->isUndoAvailable());
  ed.clearProgram();
  EXPECT_TRUE(ed.programLines().empty());
}

TEST(NcEditor, KeepsNonAsciiTextIntact) {
  NcEditor ed;
  const std::vector<std::string> lines = {"(Fräser \xc3\xb8 3)", "G0 X1"};
  ed.setProgram(lines);
  EXPECT_EQ(ed.programLines(), lines);
}

}  // namespace
}  // namespace korvane
