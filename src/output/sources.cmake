# Sources of src/output
target_sources(quillary_gui PRIVATE
  output/DirectoryListBox.cpp output/DirectoryListBox.h
  output/DriveComboBox.cpp output/DriveComboBox.h
  output/Printopt.cpp output/Printopt.h
  output/RangeOptions.cpp output/RangeOptions.h
  output/Saveopt.cpp output/Saveopt.h
)
