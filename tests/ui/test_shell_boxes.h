// Answers message boxes from a timer of its own, so that no test blocks on
// one, also when the box opens inside another timer's slot.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
};

class BoxAnswerer : public QObject {
public:
    BoxAnswerer() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(5);
    }

    QList<SeenBox> seen;

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        SeenBox s{box->windowTitle(), box->text(),           box->icon(),
                  box->textFormat(),  box->windowModality(), {}};
        for (QAbstractButton* b : box->buttons()) s.buttons << b->text().remove(QLatin1Char('&'));
        seen << s;
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->done(QMessageBox::Cancel);
    }

    QTimer timer_;
};
