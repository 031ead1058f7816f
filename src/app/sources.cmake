# Sources of src/app
target_sources(quillary_core PRIVATE
  app/Clock.cpp app/Clock.h
  app/DateFormats.cpp app/DateFormats.h
  app/DateReader.cpp app/DateReader.h
  app/Messages.cpp app/Messages.h
  app/Preferences.cpp app/Preferences.h
  app/ProgramFolder.cpp app/ProgramFolder.h
)
target_sources(quillary_gui PRIVATE
  app/MessageBoxes.cpp app/MessageBoxes.h
  app/MainScreen.cpp app/MainScreen.h
  app/MainScreenCalendar.cpp
  app/MainScreenCommands.cpp
  app/MainScreenEntries.cpp
  app/MainScreenExport.cpp
  app/MainScreenSearch.cpp
  app/MainScreenPassword.cpp
  app/MainScreenEditing.cpp
  app/MainScreenSettings.cpp
  app/OpeningMessage.cpp app/OpeningMessage.h
  app/Placement.cpp app/Placement.h
  app/SingleInstance.cpp app/SingleInstance.h
  app/Printers.cpp app/Printers.h
  app/Program.cpp app/Program.h
)
target_sources(quillary_core PRIVATE
  app/IniFile.cpp app/IniFile.h
)
