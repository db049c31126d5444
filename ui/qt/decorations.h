// The window's fixed decorations: straight lines, the axis pictures drawn as text and arrows,
// and the two small logos.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QWidget>

class QPainter;

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
// Upright pictures are written upwards (read from the bottom), like an axis title on the right
// of a chart. The arrow points away from the text, to the end it is placed at.
class PictureControl : public QWidget {
    Q_OBJECT
  public:
    enum class Arrow { None, AfterText, BeforeText };
    PictureControl(QString text, QColor colour, QFont font, bool upwards, Arrow arrow,
                   QWidget* parent);
    const QString& text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QColor colour_;
    bool upwards_;
    Arrow arrow_;
};

// The program's small emblem: a clay plate between drying arrows. `counterCurrent` draws the
// flat variant, the plate travelling right against the air that flows left over both faces.
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
void paintEmblem(QPainter& p, const QRectF& box);
QIcon applicationIcon();

}  // namespace tesmo::qt
