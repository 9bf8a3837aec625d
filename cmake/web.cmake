# The browser edition: every program is linked by emscripten into JavaScript
# with its WebAssembly inside (SINGLE_FILE), then put into one page with the
# fonts (tools/web/make_page.py). ASYNCIFY lets canvas_await_event block as on
# the desktop: the program's stack is put aside while the browser runs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(MORLU_WEB_FONT_DIR /usr/share/fonts/truetype/liberation2 CACHE PATH
    "Where LiberationSans-Regular.ttf and LiberationMono-Regular.ttf are")
set(MORLU_WEB_TEMPLATE ${PROJECT_SOURCE_DIR}/platform/web/page.html)
set(MORLU_WEB_PAGE_SCRIPT ${PROJECT_SOURCE_DIR}/platform/web/page.js)
set(MORLU_WEB_MAKE_PAGE ${PROJECT_SOURCE_DIR}/tools/web/make_page.py)
set(MORLU_WEB_FONTS ${MORLU_WEB_FONT_DIR}/LiberationSans-Regular.ttf ${MORLU_WEB_FONT_DIR}/LiberationMono-Regular.ttf)

# What every program is linked with: the page runs main itself (MODULARIZE), and
# a tape runs in a fresh instance of the same program (morlu_web_run_tape).
# The JavaScript halves of the edition's seams: the backend, the font and
# imaging services, the script file's storage, the entry.
set(MORLU_WEB_JS_LIBRARIES
    ${PROJECT_SOURCE_DIR}/platform/web/web_backend.js
    ${PROJECT_SOURCE_DIR}/platform/web/web_services.js
    ${PROJECT_SOURCE_DIR}/runtime/web/script_store.js
    ${PROJECT_SOURCE_DIR}/entry/web_entry.js)
set(MORLU_WEB_LINK_OPTIONS
    -sASYNCIFY
    "-sASYNCIFY_IMPORTS=['morlu_web_wait']"
    # The program's stack between app_main and the wait, put aside while it sleeps.
    -sASYNCIFY_STACK_SIZE=65536
    -sMODULARIZE
    -sEXPORT_NAME=createMorluProgram
    -sSINGLE_FILE
    -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH
    -sEXIT_RUNTIME=0
    "-sEXPORTED_FUNCTIONS=['_main','_morlu_web_run_tape','_malloc','_free']"
    "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','UTF8ToString']")
foreach(library ${MORLU_WEB_JS_LIBRARIES})
  list(APPEND MORLU_WEB_LINK_OPTIONS "SHELL:--js-library ${library}")
endforeach()

# Make pages/PAGE.html of the program `target` once it is linked.
function(morlu_web_page target page)
  set(out ${PROJECT_BINARY_DIR}/pages/${page}.html)
  add_custom_command(
    TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/pages
    COMMAND ${Python3_EXECUTABLE} ${MORLU_WEB_MAKE_PAGE} --template ${MORLU_WEB_TEMPLATE} --page-script
            ${MORLU_WEB_PAGE_SCRIPT} --program $<TARGET_FILE:${target}> --title ${page} --sans
            ${MORLU_WEB_FONT_DIR}/LiberationSans-Regular.ttf --mono ${MORLU_WEB_FONT_DIR}/LiberationMono-Regular.ttf
            -o ${out}
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${MORLU_WEB_TEMPLATE} ${MORLU_WEB_PAGE_SCRIPT}
                                                           ${MORLU_WEB_JS_LIBRARIES})
endfunction()
