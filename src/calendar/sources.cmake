# Sources of src/calendar
target_sources(quillary_gui PRIVATE
  calendar/Calendar.cpp calendar/Calendar.h
  calendar/Calglyph.cpp calendar/Calglyph.h
  calendar/Datesel.cpp calendar/Datesel.h
)
