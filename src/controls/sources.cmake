# Sources of src/controls
target_sources(quillary_gui PRIVATE
  controls/Graphp.cpp controls/Graphp.h
  controls/Ring.cpp controls/Ring.h
)
