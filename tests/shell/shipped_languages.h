// SPDX-License-Identifier: MIT
// Some texts of the shipped translation table in each of the seven
// languages, as the user is to see them.
#pragma once

#include <QString>
#include <array>

namespace tessarin::testing {

struct LanguageTexts {
  int code;
  const char* name;
  QString convertButton;  // KonvertBtn
  QString languageMenu;   // Sprache1
  QString percentLabel;   // Label2
  QString filter;         // OpenDialog1 and SaveDialog1
  QString aboutCaption;   // TAboutBox
  QString deleteButton;   // the editor's DeleteRowBtn
  QString copyright;      // the information dialog's line, %1 the year
  QString version;        // the line above it, %1 the version
  QString finished;       // message 9, before the time
  QString notOpened;      // message 6, before the file name
  QString notCreated;     // message 10, before the file name
};

inline std::array<LanguageTexts, 7> ShippedLanguages() {
  const QChar nbsp(0x00A0);
  return {{
      {0, "German", QStringLiteral("DXF Datei konvertieren..."), QStringLiteral("Sprache"),
       QStringLiteral("Maximale Abweichung in %:"), QStringLiteral("DXF-Dateien (*.dxf)|*.dxf"),
       QStringLiteral("Info"), QStringLiteral("Zeile löchen"),
       QStringLiteral("Copyright © %1 Die Tessarin-Entwickler"), QStringLiteral("Version %1"),
       QStringLiteral("Konvertierung beendet:"),
       QStringLiteral("Folgende DXF Datei konnte nicht geöffnet werden:"),
       QStringLiteral("Folgende DXF Datei konnte nicht angelegt werden:")},
      {1, "English", QStringLiteral("Convert DXF file..."), QStringLiteral("Language"),
       QStringLiteral("Maximum deviation in %:"), QStringLiteral("DXF files (*.dxf)|*.dxf"),
       QStringLiteral("About"), QStringLiteral("Delete row"),
       QStringLiteral("Copyright © %1 The Tessarin developers"), QStringLiteral("Version %1"),
       QStringLiteral("Conversion finished:"),
       QStringLiteral("The following DXF file could not be opened:"),
       QStringLiteral("The following DXF file could not be created:")},
      {2, "French", QStringLiteral("Convertir un fichier DXF..."), QStringLiteral("Langue"),
       QStringLiteral("Écart maximal en %") + nbsp + QLatin1Char(':'),
       QStringLiteral("Fichiers DXF (*.dxf)|*.dxf"), QStringLiteral("À propos"),
       QStringLiteral("Supprimer la ligne"),
       QStringLiteral("Copyright © %1 Les développeurs de Tessarin"), QStringLiteral("Version %1"),
       QStringLiteral("Conversion terminée") + nbsp + QLatin1Char(':'),
       QStringLiteral("Impossible d'ouvrir le fichier DXF suivant") + nbsp + QLatin1Char(':'),
       QStringLiteral("Impossible de créer le fichier DXF suivant") + nbsp + QLatin1Char(':')},
      {3, "Dutch", QStringLiteral("DXF-bestand converteren..."), QStringLiteral("Taal"),
       QStringLiteral("Maximale afwijking in %:"), QStringLiteral("DXF-bestanden (*.dxf)|*.dxf"),
       QStringLiteral("Info"), QStringLiteral("Rij verwijderen"),
       QStringLiteral("Copyright © %1 De ontwikkelaars van Tessarin"), QStringLiteral("Versie %1"),
       QStringLiteral("Conversie voltooid:"),
       QStringLiteral("Het volgende DXF-bestand kan niet worden geopend:"),
       QStringLiteral("Het volgende DXF-bestand kan niet worden aangemaakt:")},
      {4, "Italian", QStringLiteral("Converti file DXF..."), QStringLiteral("Lingua"),
       QStringLiteral("Deviazione massima in %:"), QStringLiteral("File DXF (*.dxf)|*.dxf"),
       QStringLiteral("Informazioni"), QStringLiteral("Elimina riga"),
       QStringLiteral("Copyright © %1 Gli sviluppatori di Tessarin"), QStringLiteral("Versione %1"),
       QStringLiteral("Conversione completata:"),
       QStringLiteral("Impossibile aprire il seguente file DXF:"),
       QStringLiteral("Impossibile creare il seguente file DXF:")},
      {5, "Spanish", QStringLiteral("Convertir archivo DXF..."), QStringLiteral("Idioma"),
       QStringLiteral("Desviación máxima en %:"), QStringLiteral("Archivos DXF (*.dxf)|*.dxf"),
       QStringLiteral("Acerca de"), QStringLiteral("Eliminar fila"),
       QStringLiteral("Copyright © %1 Los desarrolladores de Tessarin"),
       QStringLiteral("Versión %1"), QStringLiteral("Conversión finalizada:"),
       QStringLiteral("No se pudo abrir el siguiente archivo DXF:"),
       QStringLiteral("No se pudo crear el siguiente archivo DXF:")},
      {6, "Portuguese", QStringLiteral("Converter arquivo DXF..."), QStringLiteral("Idioma"),
       QStringLiteral("Desvio máximo em %:"), QStringLiteral("Arquivos DXF (*.dxf)|*.dxf"),
       QStringLiteral("Sobre"), QStringLiteral("Excluir linha"),
       QStringLiteral("Copyright © %1 Desenvolvedores do Tessarin"), QStringLiteral("Versão %1"),
       QStringLiteral("Conversão concluída:"),
       QStringLiteral("Não foi possível abrir o seguinte arquivo DXF:"),
       QStringLiteral("Não foi possível criar o seguinte arquivo DXF:")},
  }};
}

}  // namespace tessarin::testing
