#include "ui/TForm1.h"

#include "ui/TForm3.h"

namespace velmora::ui {

TForm1::TForm1(TForm3* wizard, QWidget* parent) : QWidget(parent), wizard_(wizard) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("HTML Velmora 1.3 Ultrapex"));
    setFixedSize(377, 171);
}

}  // namespace velmora::ui
