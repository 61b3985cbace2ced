#include "ui/pictures/Pictures.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// Pictures are drawn in code; these tests check what the table and the picker rely on: sizes,
// indexing, and that cards and avatars can be told apart. Set BRISQUEL_PICTURE_DIR to a folder
// to get contact sheets of every picture for a look by eye.
class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void sizes();
    void outOfRangeIsEmpty();
    void cardsAreDistinct();
    void suitColours();
    void avatarsAreDistinct();
    void contactSheets();
};

static QByteArray bytesOf(const QPixmap &pm)
{
    const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char *>(img.constBits()), int(img.sizeInBytes()));
}

void TestPictures::sizes()
{
    for (int c = 0; c < 52; ++c) {
        QCOMPARE(Pictures::card(c, false).size(), QSize(44, 58));
        QCOMPARE(Pictures::card(c, true).size(), QSize(65, 87));
        QCOMPARE(Pictures::cardSelected(c).size(), QSize(65, 87));
    }
    QCOMPARE(Pictures::cardBack(false).size(), QSize(44, 58));
    QCOMPARE(Pictures::cardBack(true).size(), QSize(65, 87));
    QCOMPARE(Pictures::felt().size(), QSize(167, 167));
    for (int i = 0; i < Pictures::kAvatarCount; ++i)
        QCOMPARE(Pictures::avatar(i).size(), QSize(35, 35));
    QCOMPARE(Pictures::button(Pictures::ButtonPicture::Raise).size(), QSize(24, 24));
}

void TestPictures::outOfRangeIsEmpty()
{
    QVERIFY(Pictures::card(-1, true).isNull());
    QVERIFY(Pictures::card(52, false).isNull());
    QVERIFY(Pictures::cardSelected(52).isNull());
    QVERIFY(Pictures::avatar(25).isNull());
    QVERIFY(Pictures::avatar(-1).isNull());
}

void TestPictures::cardsAreDistinct()
{
    for (bool large : {false, true}) {
        QSet<QByteArray> seen;
        for (int c = 0; c < 52; ++c)
            seen.insert(bytesOf(Pictures::card(c, large)));
        QCOMPARE(seen.size(), 52);
    }
    for (int c = 0; c < 52; ++c)
        QVERIFY(bytesOf(Pictures::card(c, true)) != bytesOf(Pictures::cardSelected(c)));
}

// Hearts and diamonds carry red ink, clubs and spades none.
void TestPictures::suitColours()
{
    for (int c = 0; c < 52; ++c) {
        const QImage img = Pictures::card(c, false).toImage();
        int red = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor px = img.pixelColor(x, y);
                if (px.alpha() > 200 && px.red() > 150 && px.green() < 80 && px.blue() < 80)
                    ++red;
            }
        }
        const int suit = c / 13;
        if (suit == 1 || suit == 2)
            QVERIFY2(red > 20, qPrintable(QString::number(c)));
        else
            QVERIFY2(red == 0, qPrintable(QString::number(c)));
    }
}

void TestPictures::avatarsAreDistinct()
{
    QSet<QByteArray> seen;
    for (int i = 0; i < Pictures::kAvatarCount; ++i)
        seen.insert(bytesOf(Pictures::avatar(i)));
    QCOMPARE(seen.size(), Pictures::kAvatarCount);
}

void TestPictures::contactSheets()
{
    // The sheets go to BRISQUEL_PICTURE_DIR to be looked at, else to a folder that goes.
    QTemporaryDir scratch;
    const QString dir = qEnvironmentVariable("BRISQUEL_PICTURE_DIR", scratch.path());
    QImage sheet(13 * 70 + 10, 4 * 92 * 2 + 4 * 62 + 20, QImage::Format_ARGB32);
    sheet.fill(QColor(35, 35, 35));
    QPainter p(&sheet);
    for (int c = 0; c < 52; ++c) {
        const int row = c / 13, col = 12 - c % 13;
        p.drawPixmap(5 + col * 70, 5 + row * 92, Pictures::card(c, true));
        p.drawPixmap(5 + col * 70, 5 + 4 * 92 + row * 92, Pictures::cardSelected(c));
        p.drawPixmap(5 + col * 70, 10 + 8 * 92 + row * 62, Pictures::card(c, false));
    }
    p.end();
    QVERIFY(sheet.save(dir + "/cards.png"));

    QImage misc(700, 200, QImage::Format_ARGB32);
    misc.fill(QColor(35, 35, 35));
    QPainter q(&misc);
    q.drawTiledPixmap(0, 0, 334, 200, Pictures::felt());
    q.drawPixmap(340, 5, Pictures::cardBack(true));
    q.drawPixmap(410, 5, Pictures::cardBack(false));
    for (int i = 0; i < 5; ++i)
        q.drawPixmap(460 + i * 30, 5, Pictures::button(static_cast<Pictures::ButtonPicture>(i)));
    for (int i = 0; i < Pictures::kAvatarCount; ++i)
        q.drawPixmap(340 + (i % 9) * 40, 100 + (i / 9) * 40, Pictures::avatar(i));
    q.end();
    QVERIFY(misc.save(dir + "/misc.png"));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
