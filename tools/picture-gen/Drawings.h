#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

// One picture of the program: the file it is shipped as and how to draw it.
struct Drawing {
    QString fileName;
    std::function<QImage()> draw;
};

std::vector<Drawing> allDrawings();
