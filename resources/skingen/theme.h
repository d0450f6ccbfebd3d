#pragma once

#include <QColor>
#include <QList>
#include <QString>

// One default skin's colours and decoration.
struct Theme {
    enum class Motif { Clouds, Hearts, Leaves, Stars };

    QString id;   // folder and skin list section
    QString name; // shown to the child
    QColor main;  // the bars
    QColor light; // pale version of main
    QColor deep;  // edges, the status bar
    QColor accent;
    QColor dialog; // dialog and field surroundings
    QColor tabText;
    QColor tabActiveText;
    Motif motif;
};

const QList<Theme>& Themes();

// `a` moved towards `b` by `t` (0..1).
QColor Mix(const QColor& a, const QColor& b, double t);
