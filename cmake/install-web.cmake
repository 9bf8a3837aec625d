# Installing the browser edition: the library and main for WebAssembly, the
# header, what makes a page (template, page script, JavaScript libraries, the
# fonts and their licence) and morlu-web, which turns a program's source into
# its page: `morlu-web hello.c` writes hello.html.
include(GNUInstallDirs)

set(MORLU_WEB_SHARE ${CMAKE_INSTALL_DATADIR}/morlu/web)
install(TARGETS morlu morlu_main ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/runtime/include/morlu/canvas.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morlu)
install(FILES ${MORLU_WEB_TEMPLATE} ${MORLU_WEB_PAGE_SCRIPTS} ${MORLU_WEB_JS_LIBRARIES} DESTINATION ${MORLU_WEB_SHARE})
install(PROGRAMS ${MORLU_WEB_MAKE_PAGE} DESTINATION ${MORLU_WEB_SHARE})
install(FILES ${MORLU_WEB_FONTS} DESTINATION ${MORLU_WEB_SHARE}/fonts)
install(FILES /usr/share/doc/fonts-liberation2/copyright DESTINATION ${MORLU_WEB_SHARE}/fonts RENAME LICENSE)

# The link options every page's program takes, one per line, and the names of
# the JavaScript libraries, for morlu-web, which finds them in its share folder.
set(MORLU_WEB_OPTIONS_TEXT "")
foreach(option ${MORLU_WEB_LINK_OPTIONS})
  if(NOT option MATCHES "^SHELL:--js-library")
    string(APPEND MORLU_WEB_OPTIONS_TEXT "${option}\n")
  endif()
endforeach()
file(WRITE ${PROJECT_BINARY_DIR}/link-options.txt "${MORLU_WEB_OPTIONS_TEXT}")
set(MORLU_WEB_LIBRARY_NAMES "")
foreach(library ${MORLU_WEB_JS_LIBRARIES})
  get_filename_component(name ${library} NAME)
  string(APPEND MORLU_WEB_LIBRARY_NAMES "${name}\n")
endforeach()
file(WRITE ${PROJECT_BINARY_DIR}/js-libraries.txt "${MORLU_WEB_LIBRARY_NAMES}")
install(FILES ${PROJECT_BINARY_DIR}/link-options.txt ${PROJECT_BINARY_DIR}/js-libraries.txt
        DESTINATION ${MORLU_WEB_SHARE})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/web/morlu-web DESTINATION ${CMAKE_INSTALL_BINDIR})
