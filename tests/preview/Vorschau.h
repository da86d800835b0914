// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preview program driven over its pipe as the wizard drives it, and the
// comparison with headless Chromium: for its tests and its benchmark.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <optional>
#include <string>
#include <vector>

#include "wizard/Preview.h"

namespace velmora::preview::test {

// The helper, as the wizard starts it, and what it answered.
class Helper {
public:
    explicit Helper(const QStringList& environment = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : environment)
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(VELMORA_VORSCHAU), {});
    }
    ~Helper() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000)) process_.kill();
        process_.waitForFinished();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void send(const std::string& name, const std::string& payload) {
        const std::string bytes = velmora::preview::encode({name, payload});
        process_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    void page(std::uint64_t sequence, const QString& folder, const QByteArray& html) {
        send("page",
             std::to_string(sequence) + '\n' + folder.toStdString() + '\n' + html.toStdString());
    }
    // The payload of the next message NAME; what came before it is kept.
    std::optional<std::string> next(const std::string& name, int ms = 60000) {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
                if (it->name != name) continue;
                std::string payload = it->payload;
                waiting_.erase(it);
                return payload;
            }
            if (clock.elapsed() > ms || process_.state() == QProcess::NotRunning) return {};
            process_.waitForReadyRead(50);
            const QByteArray bytes = process_.readAllStandardOutput();
            reader_.feed(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            while (auto message = reader_.next()) {
                answered_.push_back(*message);
                waiting_.push_back(*message);
            }
        }
    }
    QImage grab(const QString& file) {
        send("grab", file.toStdString());
        return next("grabbed") ? QImage(file) : QImage();
    }
    const std::vector<Message>& answered() const { return answered_; }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    velmora::preview::Reader reader_;
    std::vector<Message> answered_;
    std::vector<Message> waiting_;
};

// Shown at a view of exactly `size`: the window's bar takes what it takes.
inline QImage shownAt(Helper& helper, QSize size, const QString& file) {
    helper.send("show", "size=" + std::to_string(size.width()) + ',' +
                            std::to_string(size.height()) + "\nfocus=0\nmode=fenster");
    const QImage first = helper.grab(file);
    const int bar = size.height() - first.height();
    helper.send("show", "size=" + std::to_string(size.width()) + ',' +
                            std::to_string(size.height() + bar) + "\nfocus=0");
    QTest::qWait(300);  // the resize's frame
    return helper.grab(file);
}

// Headless Chromium's screenshot of the page `file` at 800 × 600 into `png`.
inline bool screenshot(const QString& file, const QString& png) {
    QTemporaryDir profile;
    QProcess browser;
    browser.start(
        QStringLiteral("chromium"),
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
         QStringLiteral("--no-proxy-server"), QStringLiteral("--user-data-dir=") + profile.path(),
         QStringLiteral("--window-size=800,600"), QStringLiteral("--screenshot=") + png,
         QUrl::fromLocalFile(file).toString()});
    return browser.waitForFinished(60000) && QImage(png).size() == QSize(800, 600);
}

// How many pixels of the two pictures differ by more than 5 %.
inline double differingPixels(const QString& one, const QString& other) {
    QProcess compare;
    compare.start(QStringLiteral("compare"),
                  {QStringLiteral("-metric"), QStringLiteral("AE"), QStringLiteral("-fuzz"),
                   QStringLiteral("5%"), one, other, QStringLiteral("null:")});
    compare.waitForFinished(60000);
    return compare.readAllStandardError().trimmed().toDouble();
}

}  // namespace velmora::preview::test
