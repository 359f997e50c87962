#ifndef ECU_UI_WIDGETS_COMM_LAMP_H_
#define ECU_UI_WIDGETS_COMM_LAMP_H_

#include <QColor>
#include <QWidget>

namespace ecu {

// The round communication lamp: light red while a request waits, light
// green when reply bytes arrive.
class CommLamp : public QWidget {
  Q_OBJECT

 public:
  explicit CommLamp(QWidget* parent = nullptr);
  void SetColour(const QColor& colour);
  QColor colour() const { return colour_; }
  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_COMM_LAMP_H_
