// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

// A panel as the layout describes it: a plain rectangle with a background
// colour, an optional flat one-pixel border or lowered bevel, and a caption
// that is never drawn but identifies the panel (the page and frame B carry
// " ", which the hand-off relies on).
class Panel : public QFrame
{
    Q_OBJECT
public:
    enum class Edge { None, FlatLine, LoweredBevel };

    explicit Panel(QWidget *parent, const QString &objectName, const QColor &colour,
                   Edge edge = Edge::None, const QString &caption = QString());

    QString caption() const { return m_caption; }

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

    // Width of the rim children sit inside (the frames' "border width").
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width) { m_borderWidth = width; }

    // A red mark on the bottom rim: the frame's text runs past its text area.
    bool overflowMark() const { return m_overflowMark; }
    void setOverflowMark(bool on);

    // Where the client area starts: 1 inside a border line or bevel, else 0.
    int clientOffset() const { return m_edge == Edge::None ? 0 : 1; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_colour;
    Edge m_edge;
    int m_borderWidth = 0;
    bool m_overflowMark = false;
};
