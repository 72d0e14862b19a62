#pragma once

#include <QString>

// What the windows that take numbers and a moment say when a box will not do: the same words in
// each, as the user met them first.
inline QString outOfRangeMessage() {
    return QStringLiteral("有効範囲内にある半角数字を入れてください");
}

inline QString futureMomentMessage() {
    return QStringLiteral("現在より未来の日時は設定できません");
}
