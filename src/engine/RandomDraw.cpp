#include "engine/RandomDraw.h"

#include <QRandomGenerator>

namespace {
const RandomDraw randomDraw;
const RandomDraw* installed = nullptr;
} // namespace

int RandomDraw::percent() const {
    return static_cast<int>(QRandomGenerator::global()->bounded(100));
}

const RandomDraw& RandomDraw::current() {
    return installed ? *installed : randomDraw;
}

void RandomDraw::install(const RandomDraw* draw) {
    installed = draw;
}
