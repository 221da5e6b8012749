// SPDX-License-Identifier: MIT
// Choosing and seeding the folder of "translate.dat" and "options.dat".
#include "data_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <optional>

namespace tessarin {

namespace {

const QString kTable = QStringLiteral("translate.dat");
const QString kOptions = QStringLiteral("options.dat");
// Beside the user's table: the checksum of the shipped table last placed.
const QString kPlacedSuffix = QStringLiteral(".placed");

bool CanCreateFileIn(const QString& folder) {
  // Tried rather than read from the permission bits, which say nothing of a
  // read-only mount or of root.
  QTemporaryFile probe(folder + QStringLiteral(".tessarin-probe-XXXXXX"));
  return probe.open();
}

std::optional<QByteArray> ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

QByteArray Checksum(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Written beside the target and renamed into place.
bool WriteAll(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void SeedTable(const QString& shipped, const QString& target) {
  const std::optional<QByteArray> table = ReadAll(shipped);
  if (!table) return;
  const QString placed = target + kPlacedSuffix;
  const QByteArray shippedSum = Checksum(*table);
  if (QFileInfo::exists(target)) {
    // Only an unchanged copy of an earlier shipped table gives way.
    const std::optional<QByteArray> current = ReadAll(target);
    const std::optional<QByteArray> placedSum = ReadAll(placed);
    if (!current || !placedSum || Checksum(*current) != placedSum->trimmed() ||
        placedSum->trimmed() == shippedSum) {
      return;
    }
  }
  if (WriteAll(target, *table)) WriteAll(placed, shippedSum + '\n');
}

void SeedOptions(const QString& shipped, const QString& target) {
  if (QFileInfo::exists(target)) return;  // the user's choice
  const std::optional<QByteArray> options = ReadAll(shipped);
  if (options) WriteAll(target, *options);
}

QString WithSeparator(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

QString ShippedFromProgram() { return QStringLiteral(TESSARIN_SHIPPED_FROM_PROGRAM); }

QString ShippedFile(const QString& progpath, const QString& name) {
  const QString beside = progpath + name;
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QDir::cleanPath(progpath + ShippedFromProgram() + name);
  return QFileInfo::exists(installed) ? installed : beside;
}

QString DataFolder(const QString& progpath, const QString& userFolder) {
  const QString shippedTable = ShippedFile(progpath, kTable);
  const bool installed = shippedTable != progpath + kTable;
  if (!installed && CanCreateFileIn(progpath)) return progpath;
  // The shipped files are those beside the shipped table.
  const QString shipped = installed ? WithSeparator(QFileInfo(shippedTable).path()) : progpath;
  if (userFolder.isEmpty() || !QDir().mkpath(userFolder)) return shipped;
  const QString folder = WithSeparator(userFolder);
  SeedTable(shippedTable, folder + kTable);
  SeedOptions(shipped + kOptions, folder + kOptions);
  return folder;
}

QString DataFolder(const QString& progpath) {
  return DataFolder(progpath, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

}  // namespace tessarin
