#pragma once

#include <QString>

#include <functional>

class QWidget;

// A modal message with an OK button only, titled with the program's name.
void showOkMessage(QWidget* parent, const QString& text);

// While an interceptor is set, messages go to it instead of a modal box (window tests).
void setMessageInterceptor(std::function<void(const QString&)> interceptor);
