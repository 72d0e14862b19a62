#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The first-run setup window: cigarettes a day, pack price and cigarette size.
class SetupWindow : public QWidget {
    Q_OBJECT
public:
    SetupWindow();

signals:
    // Valid figures were entered; cigLength is 50, 85 or 100.
    void accepted(std::int32_t perDay, std::int32_t packPrice, std::int32_t cigLength);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildDesign();
    void accept();

    QLineEdit* perDayEdit = nullptr;
    QLineEdit* packPriceEdit = nullptr;
    std::array<QRadioButton*, 3> sizeButtons{};
    QPushButton* acceptButton = nullptr;
};
