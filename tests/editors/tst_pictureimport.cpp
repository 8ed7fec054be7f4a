// "Import image into ...": the refusals before anything changes, an import
// as one undo step that selects and places what it wrote, the settings kept
// for the next import, and "Abort Import" leaving everything as it was.

#include "app/windowtest.h"
#include "editing/slotselection.h"
#include "editors/imageset/editingpane.h"
#include "editors/imageset/imagelistpane.h"
#include "editors/imageset/imageseteditor.h"
#include "model/palette.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QStringList repeated(int count, const char* row)
{
    return QVector<QString>(count, QLatin1String(row)).toList();
}

// Palette colours in rows of hex digits.
QImage picture(const QStringList& rows)
{
    QImage image(rows.first().size(), rows.size(), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, Palette::defaults()[size_t(rows[y].mid(x, 1).toInt(nullptr, 16))]);
    return image;
}

Imageset setOf(Imageset::Type type, Imageset::Mode mode)
{
    Imageset set(1, QStringLiteral("set"), type == Imageset::Spriteset ? 24 : 8, type == Imageset::Spriteset ? 21 : 8, type);
    set.mode = mode;
    return set;
}

void choose(QDialog* dialog, const char* box, int item)
{
    dialog->findChild<QComboBox*>(QLatin1String(box))->setCurrentIndex(item);
}

}

class PictureImportTest : public QObject {
    Q_OBJECT

    TestEnvironment environment;
    QTemporaryDir files;

    QString file(const char* name) const { return files.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        Palette::setCurrent(Palette::defaults());
        // A 16 x 16 logo: four cells of red and white, black at the bottom.
        QVERIFY(picture(repeated(12, "2222111122221111") + repeated(4, "0000000000000000")).save(file("logo.png")));
        QVERIFY(picture(repeated(8, "66616666")).save(file("cell.png")));
        QVERIFY(QImage(1, 400, QImage::Format_RGB32).save(file("tall.png")));
        QFile bad(file("bad.png"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no picture") > 0);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("targets");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("message");
        QTest::newRow("ECM beyond 64") << int(Imageset::Charset) << int(Imageset::ECM) << QList<int> {3, 64} << "logo.png"
                                       << "In ECM mode you can select only the first 64 characters!";
        QTest::newRow("mono and multicolour sprites") << int(Imageset::Spriteset) << 0 << QList<int> {0, 1} << "logo.png"
                                                      << "The selected sprites must be all mono color or all multi color!";
        QTest::newRow("no picture") << int(Imageset::Charset) << 0 << QList<int> {0} << "bad.png"
                                    << "Unable to load the image \"%1\"!";
        QTest::newRow("too tall for one slot") << int(Imageset::Charset) << 0 << QList<int> {0} << "tall.png"
                                               << "The image \"%1\" cannot be fitted into 1 slot(s)!";
    }
    void refusals()
    {
        QFETCH(int, type);
        QFETCH(int, mode);
        QFETCH(QList<int>, targets);
        QFETCH(QString, picture);
        QFETCH(QString, message);
        Imageset set = setOf(Imageset::Type(type), Imageset::Mode(mode));
        set.multiColorSprites.insert(1);
        auto editor = showImagesetEditor(set, {900, 700});
        PromptScript prompts;
        prompts.text(files.filePath(picture));
        editor->importImage(targets);
        QCOMPARE(prompts.shown.size(), 2);
        QCOMPARE(prompts.shown[0].title, QStringLiteral("Import image..."));
        QCOMPARE(prompts.shown[0].filter, QStringLiteral("Image Files (*.png *.jpg *.bmp)"));
        QCOMPARE(prompts.shown[1].icon, QMessageBox::Critical);
        QCOMPARE(prompts.shown[1].title, QStringLiteral("Error!"));
        QCOMPARE(prompts.shown[1].text, message.contains(QLatin1String("%1")) ? message.arg(files.filePath(picture)) : message);
        QVERIFY(!editor->isModified());
    }

    // The logo fills four of five targets in selection order: one undo
    // step; the four become the selection and the editing pane's 2 x 2.
    void importIsOneStep()
    {
        auto editor = showImagesetEditor(setOf(Imageset::Charset, Imageset::MCM), {900, 700});
        PromptScript prompts;
        prompts.text(file("logo.png")).accept([](QDialog* dialog) {
            choose(dialog, "cbxBckgnd", 0);
            dialog->findChild<QSpinBox*>(QStringLiteral("spinBrightness"))->setValue(1);
        });
        const QList<int> targets {20, 10, 11, 12, 13};
        editor->importImage(targets);
        QCOMPARE(prompts.unexpected, 0);
        const Imageset& set = editor->current();
        for (int slot : {20, 10, 11, 12})
            QVERIFY(set.images.contains(slot));
        QVERIFY(!set.images.contains(13));
        // The first combination without error: background black (fixed),
        // multicolour 1 black, multicolour 2 white; red is the image colour
        // of multicolour characters.
        QCOMPARE(QList<int>(set.colors.cbegin(), set.colors.cend()), QList<int>({0, 0, 1, 3}));
        QCOMPARE(set.imageColor(20), 2 + 8);
        QCOMPARE(set.image(20).bytes.toHex(), QByteArray("fafafafafafafafa"));
        QCOMPARE(set.image(11).bytes.toHex(), QByteArray("fafafafa00000000"));
        QCOMPARE(editor->imageList()->selection().indexes, QList<int>({20, 10, 11, 12}));
        const EditingGrid& grid = editor->editing()->grid();
        const int layer = editor->editing()->currentLayer();
        QCOMPARE(QList<int>({grid.slotAt(layer, 0, 0), grid.slotAt(layer, 1, 0), grid.slotAt(layer, 0, 1), grid.slotAt(layer, 1, 1)}),
                 QList<int>({20, 10, 11, 12}));
        editor->undo();
        QVERIFY(editor->current().images.isEmpty());
        QVERIFY(!editor->canUndo());

        // The next dialog starts from what this one was accepted with,
        // until the mode changes.
        int brightness = -1;
        const auto readBrightness = [&brightness](QDialog* dialog) {
            brightness = dialog->findChild<QSpinBox*>(QStringLiteral("spinBrightness"))->value();
            dialog->reject();
        };
        prompts.text(file("logo.png")).accept(readBrightness);
        editor->importImage(targets);
        QCOMPARE(brightness, 1);
        editor->modeRadioClicked(Imageset::SCM);
        prompts.text(file("logo.png")).accept(readBrightness);
        editor->importImage(targets);
        QCOMPARE(brightness, 0);
    }

    // In extended background mode a cell whose best background is the
    // third is character 128 + slot, and that code is selected.
    void extendedBackground()
    {
        auto editor = showImagesetEditor(setOf(Imageset::Charset, Imageset::ECM), {900, 700});
        PromptScript prompts;
        prompts.text(file("cell.png")).accept([](QDialog* dialog) {
            choose(dialog, "cbxBckgnd", 0);
            choose(dialog, "cbxMulti1", 5);
            choose(dialog, "cbxMulti2", 6);
            choose(dialog, "cbxBckgnd3", 7);
            dialog->findChild<QCheckBox*>(QStringLiteral("chkPutInEditor"))->setChecked(false);
        });
        editor->importImage({2});
        QCOMPARE(editor->imageList()->selection().indexes, QList<int>({130}));
        QCOMPARE(editor->current().image(2).bytes.toHex(), QByteArray("1010101010101010"));
        QCOMPARE(editor->current().imageColor(130), 1);
    }

    void abortChangesNothing()
    {
        auto editor = showImagesetEditor(setOf(Imageset::Blockset, Imageset::MCM), {900, 700});
        PromptScript prompts;
        prompts.text(file("logo.png")).accept([&editor](QDialog*) {
            // Pressed as soon as the progress dialog polls the search.
            QTimer::singleShot(0, editor.get(), [&editor] {
                QProgressDialog* progress = editor->findChild<QProgressDialog*>();
                QVERIFY(progress);
                QCOMPARE(progress->labelText(), QStringLiteral("Importing image..."));
                progress->cancel();
            });
        });
        editor->importImage({0, 1, 2, 3});
        QVERIFY(editor->current().images.isEmpty());
        QVERIFY(!editor->isModified() && !editor->canUndo());
        QVERIFY(editor->imageList()->selection().isEmpty());
    }
};

QTEST_MAIN(PictureImportTest)
#include "tst_pictureimport.moc"
