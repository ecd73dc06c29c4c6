#include "export/fexport_ui.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/dialogs_ui.h"
#include "app/ncsave.h"
#include "core/interaction.h"
#include "export/export.h"
#include "image/decode.h"
#include "settings/language.h"

namespace korvane {

const char* const kNoContourText =
    "Es wurde noch keine Kontur erstellt!\r\n\r\n[Bilddatei öffnen] -> [Konturtyp wählen] -> "
    "[Erstelle NC-Programm]";

namespace {
constexpr int kExportCaptionText = 4301;
constexpr int kCancelCaptionText = 4115;
constexpr int kSaveCaptionText = 4117;
}  // namespace

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
  editor_ = new QPlainTextEdit(this);
  editor_->setObjectName(QStringLiteral("ExportEditor"));
  editor_->setReadOnly(true);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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
  setWindowTitle(QString::fromStdString(caption_(kExportCaptionText)));
  abbrechen_->setText(QString::fromStdString(caption_(kCancelCaptionText)));
  speichern_->setText(QString::fromStdString(caption_(kSaveCaptionText)));
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
    editor_->clear();
    text_.clear();
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
  editor_->clear();
  extension_ = chosen->extension;
  text_ = chosen->write(ExportInputOf(job_.segments, job_.working.width, job_.working.height),
                        progress_);
  // The view shows plain lines: without the carriage returns and the last
  // line end.
  std::string shown;
  shown.reserve(text_.size());
  for (char c : text_)
    if (c != '\r') shown += c;
  if (!shown.empty()) shown.pop_back();
  editor_->setPlainText(QString::fromStdString(shown));
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
