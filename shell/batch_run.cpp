// SPDX-License-Identifier: MIT
// The batch run: arguments 3 to 8 as typed into the fields (the run parses
// them), then the same conversion as the convert button's.
#include "batch_run.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStringList>
#include <string>
#include <vector>

#include "batch_arguments.h"
#include "conversion_run.h"
#include "main_form.h"

namespace tessarin {

std::optional<int> RunBatch(TMainForm& form, const QStringList& commandLine) {
  std::vector<std::string> arguments;
  for (qsizetype i = 1; i < commandLine.size(); ++i)
    arguments.push_back(commandLine[i].toStdString());
  SettingTexts texts{form.AbwEd->text().toStdString(), form.AbwEinhED->text().toStdString(),
                     form.TestEd->text().toStdString(), form.SplineTestEd->text().toStdString(),
                     form.LeaveSplineCheck->isChecked()};
  bool openresult = form.OpenCheck->isChecked();
  ApplyBatchArguments(arguments, texts, openresult);
  form.AbwEd->setText(QString::fromStdString(texts.maxpercent));
  form.AbwEinhED->setText(QString::fromStdString(texts.maxunits));
  form.TestEd->setText(QString::fromStdString(texts.arctests));
  form.SplineTestEd->setText(QString::fromStdString(texts.splinetests));
  form.LeaveSplineCheck->setChecked(texts.keepsplines);
  form.OpenCheck->setChecked(openresult);

  const std::optional<RunReport> report = form.GuardedRun(commandLine[1], commandLine[2]);
  if (!report) return std::nullopt;
  return ExitStatus(report->outcome);
}

}  // namespace tessarin
