#include "app/HistoryKeeper.h"

#include "desktop/MessageBox.h"
#include "engine/AttemptRecord.h"
#include "engine/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

QString lineNumbers(const std::vector<int>& lines) {
    QStringList numbers;
    for (const int line : lines)
        numbers << QString::number(line);
    return numbers.join(QStringLiteral("、"));
}

QString findingMessage(const HistoryLoad& load, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    switch (load.finding) {
    case HistoryLoad::PartlyRead:
        return QStringList{
            QStringLiteral("これまでの記録のファイルに、読み込めない行がありました。"), file,
            QStringLiteral("%1 行目を除いて表示します。読み込めない行も消さずに残してあります。")
                    .arg(lineNumbers(load.history.unreadLines)) +
                (load.copy ? QStringLiteral("ファイルの控えを %1 として置きました。")
                                 .arg(QFileInfo(*load.copy).fileName())
                           : QString())}
            .join(u'\n');
    case HistoryLoad::SetAside:
        return QStringList{QStringLiteral("これまでの記録のファイルが大きすぎて読み込めません。"),
                           file,
                           QStringLiteral("%1 という名前で残し、新しく記録を始めます。")
                               .arg(QFileInfo(load.copy.value_or(QString())).fileName())}
            .join(u'\n');
    case HistoryLoad::NotReadable:
        return QStringList{
            QStringLiteral("これまでの記録のファイルを読み込めませんでした。"), file,
            QStringLiteral("ファイルはそのままにしてあります。読み込めるようになるまで、"
                           "吸ってしまったときの記録は残せません。")}
            .join(u'\n');
    case HistoryLoad::Missing:
    case HistoryLoad::Read:
        break;
    }
    return {};
}

} // namespace

void HistoryKeeper::load() {
    m_load = loadHistory(m_state.appDir, Clock::current().localNow(), !m_settings.isReadOnly());
    // Damage that an earlier start kept a copy of has been told.
    const bool toldBefore =
        m_load.finding == HistoryLoad::PartlyRead && m_load.copy && !m_load.copyIsNew;
    if (const QString text = findingMessage(m_load, historyFilePath(m_state.appDir));
        !text.isEmpty() && !toldBefore)
        showOkMessage(nullptr, text);
}

std::optional<std::int64_t> HistoryKeeper::longestPastMinutes() const {
    return ::longestPastMinutes(attempts());
}

bool HistoryKeeper::recordSlip(const AppState& next, const QString& note, bool withOptions,
                               QWidget* owner) {
    if (!m_load.canAdd()) {
        showOkMessage(owner, findingMessage(m_load, historyFilePath(m_state.appDir)));
        return false;
    }
    PastAttempt ended;
    ended.start = m_state.quitMoment;
    ended.end = next.quitMoment;
    ended.perDay = m_state.perDay;
    ended.packPrice = m_state.packPrice;
    ended.cigLength = m_state.cigLength;
    ended.note = note;
    const std::optional<QByteArray> bytes = historyWithAttempt(m_load.history, ended);
    if (!bytes || !m_settings.saveWithHistory(next, *bytes, withOptions, owner))
        return false;
    m_load.history.bytes = *bytes;
    m_load.history.attempts.push_back(ended);
    if (m_load.finding == HistoryLoad::Missing || m_load.finding == HistoryLoad::SetAside)
        m_load.finding = HistoryLoad::Read;
    return true;
}
