#pragma once

#include <QWidget>

namespace velmora::ui {

class TForm3;

/// The start window: "Start" shows the wizard, "Ende" ends the program.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(TForm3* wizard, QWidget* parent = nullptr);

private:
    TForm3* wizard_;
};

}  // namespace velmora::ui
