#include <QApplication>

#include "ui/TForm1.h"
#include "ui/TForm3.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    velmora::ui::TForm3 form3;
    velmora::ui::TForm1 form1(&form3);
    form3.FormCreate();
    form1.show();
    return QApplication::exec();
}
