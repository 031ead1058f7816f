# Sources of src/store
target_sources(quillary_core PRIVATE
  store/EntryFiles.cpp store/EntryFiles.h
)
target_sources(quillary_gui PRIVATE
  store/Convert.cpp store/Convert.h
)
