#pragma once
// The key filter of the numeric input fields (CheckNumKey): install one on any
// QLineEdit (or spin field) whose typed characters must be digits, a sign or
// a point; "," types ".".
#include <QObject>

namespace korvane {

class NumKeyFilter : public QObject {
  Q_OBJECT
 public:
  explicit NumKeyFilter(QObject* parent = nullptr) : QObject(parent) {}
  // Convenience: install a filter owned by `field` itself.
  static void installOn(QObject* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace korvane
