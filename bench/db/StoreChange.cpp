// SPDX-License-Identifier: GPL-3.0-or-later
// The store's delete or move of the POIs whose numbers a file lists, one a line, as the manager
// window makes it: keeping the rows an undo needs. For bench-db.sh.
// Usage: geofill-store-change DB delete|move CATEGORY IDFILE

#include <PoiChanges.h>

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fputs("Usage: geofill-store-change DB delete|move CATEGORY IDFILE\n", stderr);
        return 2;
    }
    QFile file(args[4]);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    QList<qint64> ids;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            ids << line.toLongLong();
    }
    ChangeOptions options;
    options.keepUndo = true;
    const Outcome<StoredChange> done =
        args[2] == QLatin1String("move")
            ? PoiChanges::move(args[1], ids, args[3].toLongLong(), options)
            : PoiChanges::remove(args[1], ids, options);
    if (!done) {
        std::fprintf(stderr, "%s\n", qPrintable(done.problemText()));
        return 1;
    }
    std::printf("%lld rows, %s for undo\n", static_cast<long long>(done->count),
                done->images ? "kept" : "not kept");
    return 0;
}
