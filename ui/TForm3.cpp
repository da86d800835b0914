#include "ui/TForm3.h"

namespace velmora::ui {

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Assistent"));
    setFixedSize(763, 433);
}

void TForm3::FormCreate() { settings_.HeadingSize = 3; }

}  // namespace velmora::ui
