#pragma once

#include <QColor>
#include <QPushButton>

namespace ui {

// A command button whose face shows exactly the colour it is given (the
// panel lights routing buttons in an exact green), with a plain border and
// its caption; a style's gradients would change the colour.
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(const QString &caption, QWidget *parent = nullptr);

    QColor face() const { return m_face; }
    // Gives the face a colour and repaints it.
    void setFace(const QColor &colour);
    // Gives the face a colour for the next repaint, which the caller asks
    // for; true when the colour changed.
    bool changeFace(const QColor &colour);
    // A dashed frame inside the rim that says what the face shows is not
    // confirmed; the face keeps its colour. True when it changed (the caller
    // asks for the repaint).
    bool changeMark(bool marked);
    bool isMarked() const { return m_marked; }
    // A corner notch that says another holds what the button stands for (a
    // monitor locked by another source); the face keeps its colour.
    bool changeNotch(bool notched);
    bool isNotched() const { return m_notched; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_face;
    bool m_marked = false;
    bool m_notched = false;
};

} // namespace ui
