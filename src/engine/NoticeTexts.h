#pragma once

#include <QString>

#include <cstdint>

// What the notification area tells of a milestone, all in one place. An anniversary is told with
// the message of the day that marks it.

// "ステータスが「曹長」になりました"
QString newTitleNotice(const QString& title);
// "禁煙から48時間。においや味がもどってくるころです"
QString recoveryNotice(const QString& when, const QString& meaning);
// "ケムリンして１００日目です。おめでとうございます"
QString roundDayNotice(std::int64_t dayCount);
// "吸わなかった煙草が1000本になりました", the count as the main window writes it
QString cigaretteNotice(const QString& count);
// "節約できた金額が10000円になりました"
QString moneyNotice(std::int64_t yen);
// "これまでの最長記録を超えました（40日）"
QString bestRunNotice(std::int64_t days);
