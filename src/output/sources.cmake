# Sources of src/output
target_sources(quillary_core PRIVATE
  output/EntryExport.cpp output/EntryExport.h
  output/EntrySearch.cpp output/EntrySearch.h
)
target_sources(quillary_gui PRIVATE
  output/DirectoryListBox.cpp output/DirectoryListBox.h
  output/DriveComboBox.cpp output/DriveComboBox.h
  output/Lookfor.cpp output/Lookfor.h
  output/Printopt.cpp output/Printopt.h
  output/RangeOptions.cpp output/RangeOptions.h
  output/Saveopt.cpp output/Saveopt.h
)
