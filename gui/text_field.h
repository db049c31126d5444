// A text field of the window: a line edit with a thin painted border.
//
// The fields are only 13 to 15 pixels high, less than the natural height of their font. The
// style's frame and margins would clip the digits, so the field has no style frame; it paints
// a one-pixel border itself and shifts the text so that the digits, the decimal comma and the
// descenders sit between the two border lines.
#pragma once

#include <QLineEdit>

namespace tesmo::qt {

class TextField : public QLineEdit {
    Q_OBJECT
  public:
    explicit TextField(QWidget* parent = nullptr);

    void setBorderVisible(bool visible);

    // Where the text of a field of this height sits: the top text margin that places it, and
    // the resulting baseline, in pixels from the field's top edge.
    static int topMargin(const QFont& font, int height);
    static int baseline(const QFont& font, int height);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void placeText();
    bool border_ = true;
};

}  // namespace tesmo::qt
