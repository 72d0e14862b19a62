#pragma once

#include "settings/AppState.h"

#include <QColor>
#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct CheckedEntry;

// Every stored setting, editable; it holds the edits until they are saved or dropped. Its
// owner answers each request by opening the next window and hiding this one.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(const AppState& state);

signals:
    // Every value passed its check; the colours are the ones shown in the sample.
    void saveRequested(const CheckedEntry& entry, const QColor& background, const QColor& text);
    void cancelRequested();
    void promotionRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void fill(const AppState& state);
    void save();
    void chooseColour(QColor& colour);
    void showColours();

    QLineEdit* blogUrlEdit = nullptr;
    QComboBox* statusModeBox = nullptr;
    QPushButton* textColourButton = nullptr;
    QLabel* colourSample = nullptr;
    QPushButton* backColourButton = nullptr;
    QButtonGroup* copyPlusButtons = nullptr;
    QLineEdit* smokingYearsEdit = nullptr;
    QCheckBox* boxDisplayCheck = nullptr;
    std::array<QLineEdit*, 5> quitMomentEdits{};
    QLineEdit* perDayEdit = nullptr;
    QLineEdit* packPriceEdit = nullptr;
    QLineEdit* tobaccoTaxEdit = nullptr;
    QLineEdit* consumptionTaxEdit = nullptr;
    QButtonGroup* sizeButtons = nullptr;
    QPushButton* promotionButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;

    QColor m_background;
    QColor m_text;
    // The colour dialog starts where it last ended while this window is open.
    QColor m_lastChosen = Qt::black;
};
