#include "ui/qt/QtPictures.h"

#include "ipset/TreeView.h"

#include <QPainter>
#include <QPixmap>
#include <QString>

namespace {

const int Size = 16;

// A network card: a green board with chips, gold contacts along its edge and a metal bracket.
void DrawAdapter(QPainter& P) {
    P.fillRect(0, 1, 2, 14, QColor(150, 150, 160));
    P.fillRect(2, 3, 14, 9, QColor(0, 90, 45));
    P.fillRect(3, 4, 12, 7, QColor(20, 140, 70));
    P.fillRect(5, 5, 5, 4, QColor(30, 30, 30));
    P.fillRect(11, 5, 3, 2, QColor(30, 30, 30));
    for (int X = 4; X < 15; X += 2)
        P.fillRect(X, 12, 1, 2, QColor(230, 180, 40));
    P.fillRect(0, 6, 3, 4, QColor(60, 60, 70));
}

// A screen whose connection is set: a monitor on its stand; the chosen one lights up and shows
// a tick; the one in force on its adapter is green.
void DrawIPSet(QPainter& P, bool Selected, bool InForce) {
    P.fillRect(1, 1, 14, 11, QColor(60, 60, 70));
    P.fillRect(2, 2, 12, 9,
               InForce    ? QColor(40, 170, 80)
               : Selected ? QColor(110, 190, 255)
                          : QColor(30, 80, 190));
    P.fillRect(3, 3, 6, 1, Qt::white);
    P.fillRect(3, 5, 4, 1, QColor(200, 220, 255));
    P.fillRect(7, 12, 2, 2, QColor(60, 60, 70));
    P.fillRect(4, 14, 8, 1, QColor(60, 60, 70));
    if (Selected) {
        P.setPen(QPen(QColor(0, 150, 40), 2));
        const QPoint Tick[] = {{6, 8}, {8, 10}, {13, 5}};
        P.drawPolyline(Tick, 3);
    }
}

QIcon Draw(int Index) {
    QPixmap Image(Size, Size);
    Image.fill(Qt::transparent);
    QPainter P(&Image);
    if (Index == AdapterPicture)
        DrawAdapter(P);
    else
        DrawIPSet(P, Index == IPSetSelectedPicture, Index == IPSetInForcePicture);
    return QIcon(Image);
}

} // namespace

QIcon Picture16(int Index) {
    if (Index != AdapterPicture && Index != IPSetPicture && Index != IPSetSelectedPicture &&
        Index != IPSetInForcePicture)
        return QIcon();
    // Drawn once: the trees ask for them on every node.
    static const QIcon Adapter = Draw(AdapterPicture);
    static const QIcon IPSet = Draw(IPSetPicture);
    static const QIcon Chosen = Draw(IPSetSelectedPicture);
    static const QIcon InForce = Draw(IPSetInForcePicture);
    if (Index == AdapterPicture)
        return Adapter;
    if (Index == IPSetInForcePicture)
        return InForce;
    return Index == IPSetPicture ? IPSet : Chosen;
}

// Out of any namespace, as Qt asks: the pictures live in a static library, where the linker would
// drop them unless something refers to them.
static void LoadProgramPictures() {
    static const bool Loaded = [] {
        Q_INIT_RESOURCE(quelvano_icons);
        return true;
    }();
    (void)Loaded;
}

QIcon ProgramIcon(const char* Name) {
    LoadProgramPictures();
    QIcon Icon;
    for (const char* Pixels : {"24", "48"})
        Icon.addFile(
            QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(Name), QLatin1String(Pixels)));
    return Icon;
}
