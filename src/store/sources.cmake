# Sources of src/store
target_sources(quillary_core PRIVATE
  store/Crypt.cpp store/Crypt.h
  store/PasswordCodec.cpp store/PasswordCodec.h
)
target_sources(quillary_gui PRIVATE
  store/Opasswrd.cpp store/Opasswrd.h
)
