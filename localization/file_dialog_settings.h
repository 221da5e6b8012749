// SPDX-License-Identifier: MIT
// The settings of a file dialog as a component of the window that owns it,
// so that the interface translation finds its filter.
#pragma once

#include <QObject>
#include <QString>

namespace tessarin {

// The filter in the "description|pattern" form of the window definitions,
// the default extension and the name chosen last time.
class FileDialogSettings : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString filter READ filter WRITE setFilter)

 public:
  FileDialogSettings(const QString& name, QObject* owner);

  const QString& filter() const { return filter_; }
  void setFilter(const QString& filter) { filter_ = filter; }
  const QString& defaultExt() const { return defaultExt_; }
  void setDefaultExt(const QString& extension) { defaultExt_ = extension; }
  // Full name of the file chosen last; empty before the first choice.
  const QString& fileName() const { return fileName_; }
  void setFileName(const QString& name) { fileName_ = name; }

 private:
  QString filter_;
  QString defaultExt_;
  QString fileName_;
};

}  // namespace tessarin
