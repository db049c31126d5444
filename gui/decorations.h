// The window's fixed decorations as widgets: straight lines, the axis pictures drawn as text and
// arrows, and the two small logos. What they look like is painted in ui/export/picture_paint.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QWidget>

#include "display/decoration_table.h"

namespace tesmo::qt {

// A black horizontal or vertical line between two points given in twips, `width` pixels
// thick and centred on them.
class LineControl : public QWidget {
    Q_OBJECT
  public:
    LineControl(int x1, int y1, int x2, int y2, int width, QWidget* parent);
    int lineWidth() const { return width_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int width_;
};

// A fixed picture: a text with an optional arrow, written along the picture's long side.
class PictureControl : public QWidget {
    Q_OBJECT
  public:
    PictureControl(QString text, QColor colour, QFont font, PictureStyle style, QWidget* parent);
    const QString& text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QColor colour_;
    PictureStyle style_;
};

// The program's small emblem (see paintLogo).
class LogoControl : public QWidget {
    Q_OBJECT
  public:
    LogoControl(bool counterCurrent, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool counterCurrent_;
};

// The emblem in a square, for the window icon.
QIcon applicationIcon();

}  // namespace tesmo::qt
