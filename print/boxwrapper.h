#pragma once

#include <QStringList>

#include <memory>

class BoxMemo;

// Wraps other texts exactly as a letter box shows its own: a hidden text
// area of the same kind, font and size as the box takes each text in turn,
// and its display lines come from the same document layout the screen uses.
// The box itself is never touched, so what it shows stays as it was.
class BoxWrapper
{
public:
    // Takes the box's font and size as they are now.
    explicit BoxWrapper(const BoxMemo *box);
    ~BoxWrapper();
    BoxWrapper(const BoxWrapper &) = delete;
    BoxWrapper &operator=(const BoxWrapper &) = delete;

    // `text` (any line breaks) as the box would show it, line by line.
    QStringList lines(const QString &text);

private:
    std::unique_ptr<BoxMemo> m_scratch;
};
