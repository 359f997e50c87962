#ifndef ECU_UI_WIDGETS_LAMP_ROW_H_
#define ECU_UI_WIDGETS_LAMP_ROW_H_

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace ecu {

// One round lamp: a solid fill with a glow when lit, an empty lens when not.
class RoundLamp : public QWidget {
  Q_OBJECT

 public:
  explicit RoundLamp(QColor colour, QWidget* parent = nullptr);
  void SetLit(bool lit);
  bool lit() const { return lit_; }
  QColor colour() const { return colour_; }
  QSize sizeHint() const override { return {24, 24}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  bool lit_ = false;
};

// A row of lamps, left to right, at most one lit. Lamps are named
// `name`_INDEX.
class LampRow : public QWidget {
  Q_OBJECT

 public:
  LampRow(const QString& name, const std::vector<QColor>& colours,
          QWidget* parent = nullptr);
  // Lights lamp `index` and puts out the one lit before.
  void Light(int index);
  int lit() const { return lit_; }
  RoundLamp* lamp(int index) const;

 private:
  std::vector<RoundLamp*> lamps_;
  int lit_ = -1;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_LAMP_ROW_H_
