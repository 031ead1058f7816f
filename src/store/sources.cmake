# Sources of src/store
target_sources(quillary_core PRIVATE
  store/Crypt.cpp store/Crypt.h
  store/EntryFiles.cpp store/EntryFiles.h
  store/PasswordChange.cpp store/PasswordChange.h
  store/PasswordCodec.cpp store/PasswordCodec.h
  store/XBaseTable.cpp store/XBaseTable.h
)
target_sources(quillary_gui PRIVATE
  store/Convert.cpp store/Convert.h
  store/Convnot.cpp store/Convnot.h
  store/Getpass.cpp store/Getpass.h
  store/Opasswrd.cpp store/Opasswrd.h
  store/Warn.cpp store/Warn.h
)
