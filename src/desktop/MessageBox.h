#pragma once

#include <QString>

#include <functional>

class QWidget;

// A modal message with an OK button only, titled with the program's name.
void showOkMessage(QWidget* parent, const QString& text);

// A modal question with はい and いいえ, titled with the program's name; true for はい. Escape
// and the close box answer いいえ.
bool askYesNo(QWidget* parent, const QString& text);

// While an interceptor is set, messages go to it instead of a modal box (window tests).
void setMessageInterceptor(std::function<void(const QString&)> interceptor);
// While an answerer is set, questions are answered by it instead of the user (window tests).
void setQuestionAnswerer(std::function<bool(const QString&)> answerer);
