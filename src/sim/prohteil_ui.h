#pragma once
// The stock page: the shape choice, one panel of dimension fields per shape,
// and the two commands that set or clear the stock definition.
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "sim/stock.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace korvane {

// A language text by its number.
using StockCaptionLookup = std::function<QString(int)>;

class TPRohteil : public QWidget {
  Q_OBJECT
 public:
  explicit TPRohteil(QWidget* parent = nullptr);

  // Empty until "Rohteil anzeigen"; emptied by "Rohteil löschen".
  const std::string& definition() const { return definition_; }
  StockShape shape() const { return shape_; }
  QLineEdit* field(StockField f) const { return fields_[f]; }
  // The texts of all 21 fields as typed.
  StockTexts texts() const;

  // Captions 3201 to 3206 from the language texts.
  void applyCaptions(const StockCaptionLookup& lookup);
  // The state at window start: no stock body, the block selected.
  void reset();

 public slots:
  void QUADER1Click() { select(StockShape::Block); }
  void ZYL1Click() { select(StockShape::CylinderZ); }
  void ZYL2Click() { select(StockShape::CylinderX); }
  void ZYL3Click() { select(StockShape::CylinderY); }
  void RAnzeigenClick();
  void RDeleteClick();

 signals:
  void definitionChanged(const QString& definition);
  // Both commands end by switching to the graphic view.
  void showGraphic();

 private:
  void select(StockShape shape);

  StockShape shape_ = StockShape::Block;
  std::string definition_;
  std::array<QLineEdit*, kStockFieldCount> fields_{};
  std::array<QWidget*, 4> panels_{};
  std::array<QToolButton*, 4> shapeButtons_{};
  std::array<QLabel*, 3> centreLabels_{};
  QLabel* LRInfo_;
  QPushButton* RAnzeigen_;
  QPushButton* RDelete_;
};

}  // namespace korvane
