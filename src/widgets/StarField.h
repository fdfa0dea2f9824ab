#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

// A dark background of a purple nebula sprinkled with stars, drawn from seeded
// noise: the same size and seed always give the same picture.
QImage generateStarField(QSize size, std::uint32_t seed);
