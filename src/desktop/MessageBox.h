#pragma once

#include <QString>

#include <functional>

class QWidget;

// A modal message with an OK button only, titled with the program's name.
void showOkMessage(QWidget* parent, const QString& text);

// A question with はい and いいえ, titled with the program's name; true for はい. いいえ is the
// default, so that Enter pressed by chance changes nothing; Escape and the close box answer it.
bool askYesNo(QWidget* parent, const QString& text);

// While an interceptor is set, messages and questions go to it instead of a modal box (window
// tests); a question is then answered いいえ.
void setMessageInterceptor(std::function<void(const QString&)> interceptor);
