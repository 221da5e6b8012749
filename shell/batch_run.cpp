// SPDX-License-Identifier: MIT
// The batch run: arguments 3 to 8 as typed into the fields, parsed once for
// the same conversion as the convert button's.
#include "batch_run.h"

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
  // The arguments go over the fields' texts once; the fields show them (and
  // keep them for the next start), and the run takes them parsed.
  SettingFields fields = form.Fields();
  SettingTexts texts = TextsOf(fields);
  ApplyBatchArguments(arguments, texts, fields.openresult);
  form.SetFields(FieldsOf(texts, fields.openresult));

  const std::optional<RunReport> report =
      form.GuardedRun(commandLine[1], commandLine[2], ParseSettings(texts));
  if (!report) return std::nullopt;
  return ExitStatus(report->outcome);
}

}  // namespace tessarin
