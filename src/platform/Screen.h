#pragma once

#include <QSize>

// Size of the primary screen in twips.
QSize primaryScreenTwips();
