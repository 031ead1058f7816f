# Sources of src/richtext
target_sources(quillary_core PRIVATE
  richtext/RtfCodePage.cpp richtext/RtfCodePage.h
  richtext/RtfFormat.cpp richtext/RtfFormat.h
  richtext/RtfKeywords.cpp richtext/RtfKeywords.h
  richtext/RtfPicture.cpp richtext/RtfPicture.h
  richtext/RtfPlainText.cpp richtext/RtfPlainText.h
  richtext/RtfLexer.cpp richtext/RtfLexer.h
  richtext/RtfReader.cpp richtext/RtfReader.h
  richtext/RtfWriter.cpp richtext/RtfWriter.h
)
target_sources(quillary_gui PRIVATE
  richtext/WPRichText.cpp richtext/WPRichText.h
  richtext/WPFindDialog.cpp richtext/WPFindDialog.h
  richtext/WPToolBar.cpp richtext/WPToolBar.h
  richtext/WPRuler.cpp richtext/WPRuler.h
)
