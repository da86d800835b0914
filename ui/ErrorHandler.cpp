#include "ui/ErrorHandler.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <new>

namespace velmora::ui {

QString withFullStop(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void showError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), withFullStop(message),
                    QMessageBox::Ok, parent);
    box.exec();
}

bool guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::bad_alloc&) {
        showError(parent, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        showError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showError(parent, QStringLiteral("Unknown failure"));
    }
    return false;
}

}  // namespace velmora::ui
