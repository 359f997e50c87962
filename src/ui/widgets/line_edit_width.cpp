#include "ui/widgets/line_edit_width.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace ecu {

int LineEditWidthFor(const QLineEdit& edit, const QString& text) {
  // As QLineEdit's own size hint: the text, the 2 px it keeps beside the
  // text on each side and the text margins, then the style's frame.
  const QFontMetrics metrics = edit.fontMetrics();
  const QMargins margins = edit.textMargins();
  const QSize contents(metrics.horizontalAdvance(text) + 2 * 2 +
                           margins.left() + margins.right(),
                       metrics.height());
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth = edit.hasFrame()
                         ? edit.style()->pixelMetric(
                               QStyle::PM_DefaultFrameWidth, &option, &edit)
                         : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  return edit.style()
      ->sizeFromContents(QStyle::CT_LineEdit, &option, contents, &edit)
      .width();
}

}  // namespace ecu
