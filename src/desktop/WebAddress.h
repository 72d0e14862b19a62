#pragma once

#include <QString>

#include <functional>

class QUrl;
class QWidget;

// Hands a web address to the desktop's browser and returns at once. When the desktop cannot
// open it (no opener, or one that ends in failure), a message box over `owner` says so as soon
// as that is known, and nothing else happens.
void openWebAddress(QWidget* owner, const QString& address);

// While an opener is set, addresses go to it instead of the desktop (tests); it tells whether
// the address was opened.
void setWebAddressOpener(std::function<bool(const QUrl&)> opener);
