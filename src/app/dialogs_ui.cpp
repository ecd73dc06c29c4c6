#include "app/dialogs_ui.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

namespace korvane {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Question(QWidget* parent, const std::string& text, QMessageBox::StandardButtons buttons,
              QMessageBox::StandardButton yes) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Korvane"), Q(text), buttons, parent);
  box.setDefaultButton(yes);
  return box.exec() == yes;
}

// Qt reads the patterns out of the parentheses; entries whose text does not
// already end in them get them appended.
QStringList NameFilters(const std::vector<FileFilter>& filters) {
  QStringList out;
  for (const FileFilter& f : filters) {
    QString desc = Q(f.description);
    const int open = desc.lastIndexOf('(');
    if (open >= 0 && desc.endsWith(')')) desc = desc.left(open).trimmed();
    out << desc + QStringLiteral(" (") + Q(f.pattern).replace(';', ' ') + QStringLiteral(")");
  }
  return out;
}

std::string RunDialog(QFileDialog& dlg, const FileRequest& req) {
  const QStringList names = NameFilters(req.filters);
  dlg.setNameFilters(names);
  if (req.selected >= 0 && req.selected < names.size()) dlg.selectNameFilter(names[req.selected]);
  if (!req.directory.empty()) dlg.setDirectory(Q(req.directory));
  if (!req.fileName.empty()) dlg.selectFile(Q(req.fileName));
  if (!req.defaultSuffix.empty()) dlg.setDefaultSuffix(Q(req.defaultSuffix));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().first().toStdString();
}

// The open dialog shows the selected picture beside the file list.
class PreviewFileDialog : public QFileDialog {
 public:
  explicit PreviewFileDialog(QWidget* parent) : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("Vorschau"));
    preview_->setFixedSize(200, 200);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
      grid->addWidget(preview_, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
      QPixmap pm(path);
      preview_->setPixmap(
          pm.isNull() ? QPixmap()
                      : pm.scaled(preview_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    });
  }

 private:
  QLabel* preview_;
};

}  // namespace

// A box parented to the main window would open behind an always-on-top modal
// dialog (the conversion dialog) and leave the program looking frozen.
QWidget* QtUserDialogs::owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_;
}

bool QtUserDialogs::ask(const std::string& text) {
  return Question(owner(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

bool QtUserDialogs::confirm(const std::string& text) {
  return Question(owner(), text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
}

void QtUserDialogs::message(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Korvane"), Q(text), QMessageBox::Ok,
                  owner());
  box.exec();
}

std::string QtFileDialogs::openPicture(const FileRequest& req) {
  PreviewFileDialog dlg(parent_);
  dlg.setWindowTitle(QStringLiteral("Bilddatei öffnen"));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  return RunDialog(dlg, req);
}

std::string QtFileDialogs::savePicture(const FileRequest& req) {
  QFileDialog dlg(parent_, QStringLiteral("Bilddatei speichern"));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  // The main window asks before replacing a file (it names the bitmap format).
  dlg.setOption(QFileDialog::DontConfirmOverwrite);
  return RunDialog(dlg, req);
}

std::string QtFileDialogs::saveNcProgram(const FileRequest& req) {
  QFileDialog dlg(parent_, QStringLiteral("NC-Programm speichern"));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  return RunDialog(dlg, req);
}

bool QtFileDialogs::openDocument(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

std::string QtFileDialogs::saveExport(const FileRequest& req) {
  QFileDialog dlg(parent_, QStringLiteral("Exportieren"));
  dlg.setObjectName(QStringLiteral("ExportDialog"));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  return RunDialog(dlg, req);
}

std::string QtFileDialogs::chooseFolder(const FolderRequest& req) {
  QFileDialog dlg(parent_, Q(req.caption), Q(req.start));
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly);
  dlg.setLabelText(QFileDialog::LookIn, Q(req.status));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().first().toStdString();
}

std::optional<int32_t> QtFileDialogs::chooseColour(int32_t current) {
  const auto c = static_cast<uint32_t>(current);
  const QColor chosen = QColorDialog::getColor(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF),
                                               parent_);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(chosen.red()) |
                              static_cast<uint32_t>(chosen.green()) << 8 |
                              static_cast<uint32_t>(chosen.blue()) << 16);
}

}  // namespace korvane
