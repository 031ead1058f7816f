# Sources of src/output
target_sources(quillary_core PRIVATE
  output/EntryExport.cpp output/EntryExport.h
  output/EntrySearch.cpp output/EntrySearch.h
)
target_sources(quillary_gui PRIVATE
  output/Lookfor.cpp output/Lookfor.h
)
