// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard's picture fields with the pictures module built here, and
// photos that Qt and exiftool made: what is asked, what the field takes,
// what lands in bilder/, and that the original keeps every byte.
#include <QElapsedTimer>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include "Photos.h"
#include "ui/test_wizard_support.h"

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::test;
namespace photos = velmora::pictures::test;

class WizardCopiesTest : public WizardTest {
    Q_OBJECT

    QString folder_;

    // A picture made by Qt in the page's folder, with a position where asked.
    QString photo(const char* name, int width, int height, bool position = false) {
        QString file = QDir(folder_).filePath(QString::fromUtf8(name));
        if (!photos::viewedPattern(width, height).save(file)) return {};
        if (position &&
            photos::run("exiftool -q -overwrite_original -GPSLatitude=52.5 -GPSLatitudeRef=N '" +
                        file.toStdString() + "'") != 0)
            return {};
        return file;
    }
    bool dropOn(const char* field, const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        return drop(edit(field), data, {2, edit(field)->height() / 2});
    }

private slots:
    void init() {
        // a page folder of each test's own
        folder_ = dir_->filePath(QString::fromUtf8(QTest::currentTestFunction()));
        QVERIFY(QDir().mkpath(folder_));
        w_ = shownWizard(folder_);
        QVERIFY(w_ != nullptr);
        usePicturesModuleFile(QStringLiteral(VELMORA_PICTURES_MODULE));
        clickTab(*w_, Pictures);
    }
    void cleanup() { w_.reset(); }

    // Too big for the picture row and telling where it was taken: asked
    // once, "Kopie anlegen" by default; the field then names the copy, as a
    // typed edit of its own that Undo takes back.
    void aBigPhotoIsAskedAboutAndItsCopyNamed() {
        const QString file = photo("urlaub.jpg", 4032, 3024, true);
        QVERIFY(!file.isEmpty());
        const std::string original = photos::bytesOf(file.toStdString());
        BoxAnswerer boxes;
        boxes.answers << QStringLiteral("Kopie anlegen");
        QElapsedTimer clock;
        boxes.whileOpen = [&clock] { clock.start(); };
        QVERIFY(dropOn("Edit10", file));
        QTRY_COMPARE_WITH_TIMEOUT(edit("Edit10")->text(), QStringLiteral("bilder/urlaub.jpg"),
                                  20000);
        qInfo("the copy's name in the field %lld ms after the answer", clock.elapsed());
        QCOMPARE(boxes.seen.size(), 1);
        const SeenBox& asked = boxes.seen.first();
        QVERIFY2(asked.text.startsWith(QStringLiteral("urlaub.jpg ist 4032 × 3024 Pixel und ")) &&
                     asked.text.contains(QStringLiteral(
                         "Für die Seite eine Kopie mit 1200 × 900 Pixeln ohne GPS-Position "
                         "anlegen (etwa ")),
                 qPrintable(asked.text));
        QCOMPARE(asked.buttons, QStringList({"Kopie anlegen", "Original nehmen"}));
        QCOMPARE(asked.defaultButton, QStringLiteral("Kopie anlegen"));
        QCOMPARE(w_->settings().Edit10, std::string("bilder/urlaub.jpg"));
        const QString copy = QDir(folder_).filePath(QStringLiteral("bilder/urlaub.jpg"));
        QCOMPARE(QImageReader(copy).size(), QSize(1200, 900));
        QVERIFY(photos::exiftoolTags(copy.toStdString()).find("GPS") == std::string::npos);
        QVERIFY(photos::bytesOf(file.toStdString()) == original);
        edit("Edit10")->undo();
        QCOMPARE(w_->settings().Edit10, std::string());
        QVERIFY(QFileInfo::exists(copy));  // undo leaves the copy
    }

    // Within its bound, without a position, in a format browsers show: taken
    // as it is, at once, with no question and no copy.
    void aFittingPictureIsTakenAsItIs() {
        const QString file = photo("klein.png", 640, 480);
        BoxAnswerer boxes;
        QVERIFY(dropOn("Edit10", file));
        QCOMPARE(edit("Edit10")->text(), QStringLiteral("klein.png"));
        QTest::qWait(50);
        QCOMPARE(boxes.seen.size(), 0);
        QVERIFY(!QFileInfo::exists(QDir(folder_).filePath(QStringLiteral("bilder"))));
    }

    // Escape takes the original; for a TIFF, which browsers do not show, it
    // cancels and the field keeps its name. An unreadable file is named in a
    // message and taken as typed.
    void escapeTakesTheOriginalOrCancels() {
        BoxAnswerer boxes;
        boxes.answers << QStringLiteral("Escape") << QStringLiteral("Escape");
        QVERIFY(dropOn("Edit10", photo("gross.jpg", 3000, 2000)));
        QTRY_COMPARE(edit("Edit10")->text(), QStringLiteral("gross.jpg"));
        QVERIFY(dropOn("Edit10", photo("scan.tif", 300, 200)));
        QTRY_COMPARE(boxes.seen.size(), 2);
        QTest::qWait(50);
        QCOMPARE(edit("Edit10")->text(), QStringLiteral("gross.jpg"));
        QVERIFY2(boxes.seen[1].text.contains(QStringLiteral("Die meisten Browser zeigen "
                                                            "TIFF-Bilder nicht.")),
                 qPrintable(boxes.seen[1].text));
        QCOMPARE(boxes.seen[1].buttons, QStringList({"Kopie anlegen", "Abbrechen"}));
        QVERIFY(!QFileInfo::exists(QDir(folder_).filePath(QStringLiteral("bilder"))));

        QFile broken(QDir(folder_).filePath(QStringLiteral("kaputt.jpg")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\xFF\xD8\xFF") == 3);
        broken.close();
        QVERIFY(dropOn("Edit9", broken.fileName()));
        QCOMPARE(edit("Edit9")->text(), QStringLiteral("kaputt.jpg"));
        QCOMPARE(boxes.seen.size(), 3);
        QVERIFY2(boxes.seen[2].text.startsWith(QStringLiteral("kaputt.jpg lässt sich nicht lesen")),
                 qPrintable(boxes.seen[2].text));
    }

    // A field the user changed after choosing keeps the user's text; the
    // copy stays on disk.
    void aFieldChangedMeanwhileKeepsTheUsersText() {
        const QString file = photo("urlaub.jpg", 2400, 1800);
        BoxAnswerer boxes;
        boxes.answers << QStringLiteral("Kopie anlegen");
        boxes.whileOpen = [this] {
            edit("Edit10")->selectAll();
            edit("Edit10")->insert(QStringLiteral("anders.png"));
        };
        QVERIFY(dropOn("Edit10", file));
        const QString copy = QDir(folder_).filePath(QStringLiteral("bilder/urlaub.jpg"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(copy), 20000);
        QTest::qWait(100);  // the copy's answer reaches the field after its file
        QCOMPARE(edit("Edit10")->text(), QStringLiteral("anders.png"));
        QCOMPARE(w_->settings().Edit10, std::string("anders.png"));
    }
};

QTEST_MAIN(WizardCopiesTest)
#include "test_wizard_copies.moc"
