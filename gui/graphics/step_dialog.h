#pragma once
// The step dialog "Animation" of the graphics window's step mode: the replay
// waits in front of each erase colour; "+" draws on to the next one, "++" ends
// step mode and draws to the end. It is shown without a local event loop (the
// replay runs from the window's timer), modal to the graphics window only.

#include <QDialog>

class QPushButton;

namespace zam1 {

class StepDialog final : public QDialog {
    Q_OBJECT

public:
    explicit StepDialog(QWidget* graphicsWindow);

signals:
    // "+" (false) or "++" (true).
    void stepChosen(bool runToEnd);

protected:
    void reject() override;
};

} // namespace zam1
