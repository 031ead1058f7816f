# Sources of src/app
target_sources(quillary_core PRIVATE
  app/Clock.cpp app/Clock.h
  app/Messages.cpp app/Messages.h
  app/ProgramFolder.cpp app/ProgramFolder.h
)
target_sources(quillary_gui PRIVATE
  app/MessageBoxes.cpp app/MessageBoxes.h
  app/Program.cpp app/Program.h
)
target_sources(quillary_core PRIVATE
  app/IniFile.cpp app/IniFile.h
)
