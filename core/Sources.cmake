# The core's sources, for the native build and the web edition's alike.
set(varnel_core_sources
  Error.cpp
  ErrorText.cpp
  FieldText.cpp
  NameLists.cpp
  RomFilePosix.cpp
  RomStore.cpp
  TableTexts.cpp
  Utf8.cpp
)
list(TRANSFORM varnel_core_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
