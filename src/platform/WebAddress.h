#pragma once

#include <QString>

#include <functional>

class QUrl;
class QWidget;

// Hands a web address to the desktop's browser; when that fails, says so in a message box over
// `owner` and does nothing else.
void openWebAddress(QWidget* owner, const QString& address);

// While an opener is set, addresses go to it instead of the desktop (tests); it tells whether
// the address was opened.
void setWebAddressOpener(std::function<bool(const QUrl&)> opener);
