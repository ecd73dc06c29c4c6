#include "export/fexport_ui.h"

#include <QAbstractListModel>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "base/filedialogs.h"
#include "base/interaction.h"
#include "export/export.h"
#include "image/decode.h"
#include "settings/language.h"

namespace korvane {

// The export text as rows for the preview. The view lays out only the rows it
// shows, so a preview of millions of lines appears at once.
class TFExport::Lines : public QAbstractListModel {
 public:
  Lines(const std::string& text, QObject* parent) : QAbstractListModel(parent), text_(text) {}
  // Rows are as wide as the longest line in the view's fixed-width font, so
  // the view scrolls sideways instead of cutting lines off.
  void setFont(const QFont& font) { metrics_ = QFontMetrics(font); }
  // The text has changed: find its lines again (CR LF ends).
  void reset() {
    beginResetModel();
    starts_.clear();
    longest_ = 0;
    for (std::size_t pos = 0; pos < text_.size();) {
      starts_.push_back(pos);
      const std::size_t end = text_.find('\n', pos);
      const std::size_t next = end == std::string::npos ? text_.size() : end + 1;
      longest_ = std::max(longest_, next - pos);
      pos = next;
    }
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(starts_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::SizeHintRole)
      return QSize(metrics_.horizontalAdvance(QLatin1Char('0')) * static_cast<int>(longest_) + 8,
                   metrics_.height());
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::size_t start = starts_[row];
    std::size_t end = row + 1 < starts_.size() ? starts_[row + 1] : text_.size();
    while (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
    return QString::fromUtf8(text_.data() + start, static_cast<qsizetype>(end - start));
  }

 private:
  const std::string& text_;
  std::vector<std::size_t> starts_;
  std::size_t longest_ = 0;  // bytes of the longest line
  QFontMetrics metrics_{QFont()};
};

TFExport::TFExport(const Job& job, UserDialogs& ui, FileDialogs& files, ProgressSink& progress,
                   CaptionLookup caption, QWidget* parent)
    : QDialog(parent),
      job_(job),
      ui_(ui),
      files_(files),
      progress_(progress),
      caption_(std::move(caption)) {
  setObjectName(QStringLiteral("FExport"));
  setWindowTitle(QStringLiteral("Exportieren"));
  setModal(true);
  resize(520, 420);
  auto* v = new QVBoxLayout(this);
  auto* formats = new QHBoxLayout;
  for (const ExportFormat& f : ExportFormats()) {
    auto* b = new QPushButton(QString::fromLatin1(f.name), this);
    b->setObjectName(QStringLiteral("B") + QString::fromLatin1(f.name));
    connect(b, &QPushButton::clicked, this, [this, n = f.number] { Export(n); });
    formats->addWidget(b);
    formatButtons_.push_back(b);
  }
  formats->addStretch(1);
  v->addLayout(formats);
  lines_ = new Lines(text_, this);
  editor_ = new QListView(this);
  editor_->setObjectName(QStringLiteral("ExportEditor"));
  editor_->setModel(lines_);
  editor_->setUniformItemSizes(true);
  editor_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  editor_->setSelectionMode(QAbstractItemView::NoSelection);
  editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor_->setTextElideMode(Qt::ElideNone);
  lines_->setFont(editor_->font());
  v->addWidget(editor_, 1);
  auto* bottom = new QHBoxLayout;
  abbrechen_ = new QPushButton(QStringLiteral("&Abbrechen"), this);
  abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
  speichern_ = new QPushButton(QStringLiteral("&Speichern"), this);
  speichern_->setObjectName(QStringLiteral("Speichern"));
  bottom->addStretch(1);
  bottom->addWidget(abbrechen_);
  bottom->addWidget(speichern_);
  v->addLayout(bottom);
  connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
  connect(speichern_, &QPushButton::clicked, this, &TFExport::SpeichernClick);
  applyCaptions();
}

void TFExport::applyCaptions() {
  if (!caption_) return;
  for (const CaptionEntry& c : ExportDialogCaptions()) {
    const QString text = QString::fromStdString(caption_(c.number));
    if (objectName() == QLatin1String(c.control))
      setWindowTitle(text);
    else if (auto* b = findChild<QAbstractButton*>(QLatin1String(c.control)))
      b->setText(text);
  }
}

int TFExport::run() {
  if (!job_.contourAccepted) {
    ui_.message(kNoContourText);
    return QDialog::Rejected;
  }
  return exec();
}

void TFExport::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) {
    speichern_->setEnabled(false);
    editor_->setEnabled(false);
    text_.clear();
    lines_->reset();
  }
  QDialog::showEvent(e);
}

void TFExport::setBusy(bool busy) {
  for (QPushButton* b : formatButtons_) b->setEnabled(!busy);
  abbrechen_->setEnabled(!busy);
  speichern_->setEnabled(!busy);
  editor_->setEnabled(!busy);
}

void TFExport::Export(int format) {
  const ExportFormat* chosen = nullptr;
  for (const ExportFormat& f : ExportFormats())
    if (f.number == format) chosen = &f;
  if (!chosen) return;
  // The progress report processes window events: no second generation or
  // close may start meanwhile.
  setBusy(true);
  text_.clear();
  lines_->reset();
  extension_ = chosen->extension;
  text_ = chosen->write(ExportInputOf(job_.segments, job_.working.width, job_.working.height),
                        progress_);
  lines_->reset();
  setBusy(false);
}

void TFExport::SpeichernClick() {
  const std::string describe = caption_ ? caption_(kSaveFilterText) : std::string();
  FileRequest req;
  req.directory = job_.general.ncPath;
  req.filters = {{describe + extension_, "*." + extension_}};
  req.defaultSuffix = extension_;
  const std::string chosen = files_.saveExport(req);
  if (!chosen.empty()) {
    const std::string path = WithDefaultSuffix(chosen, extension_);
    if (!SaveExportFile(path, text_)) {
      ui_.message(CannotCreateFileText(path));
      return;
    }
  }
  accept();
}

}  // namespace korvane
