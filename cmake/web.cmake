# The browser edition: every program is linked by emscripten into JavaScript
# with its WebAssembly inside (SINGLE_FILE), then put into one page with the
# fonts (tools/web/make_page.py). ASYNCIFY lets canvas_await_event block as on
# the desktop: the program's stack is put aside while the browser runs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(MORLU_WEB_FONT_DIR /usr/share/fonts/truetype/liberation2 CACHE PATH
    "Where LiberationSans-Regular.ttf and LiberationMono-Regular.ttf are")
set(MORLU_WEB_TEMPLATE ${PROJECT_SOURCE_DIR}/platform/web/page.html)
# The page's own scripts, in the order they run: the menu bar, then the page.
set(MORLU_WEB_PAGE_SCRIPTS ${PROJECT_SOURCE_DIR}/platform/web/page_menu.js ${PROJECT_SOURCE_DIR}/platform/web/page.js)
set(MORLU_WEB_MAKE_PAGE ${PROJECT_SOURCE_DIR}/tools/web/make_page.py)

# The fonts a page carries: code page 1252 subsets of Liberation Sans and
# Liberation Mono (tools/web/subset_font.py says why they are renamed).
set(MORLU_WEB_SANS ${PROJECT_BINARY_DIR}/fonts/morlu-sans.ttf)
set(MORLU_WEB_MONO ${PROJECT_BINARY_DIR}/fonts/morlu-mono.ttf)
set(MORLU_WEB_FONTS ${MORLU_WEB_SANS} ${MORLU_WEB_MONO})
set(MORLU_WEB_SUBSET ${PROJECT_SOURCE_DIR}/tools/web/subset_font.py)
add_custom_command(
  OUTPUT ${MORLU_WEB_FONTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/fonts
  COMMAND ${Python3_EXECUTABLE} ${MORLU_WEB_SUBSET} ${MORLU_WEB_FONT_DIR}/LiberationSans-Regular.ttf "morlu Sans"
          ${MORLU_WEB_SANS}
  COMMAND ${Python3_EXECUTABLE} ${MORLU_WEB_SUBSET} ${MORLU_WEB_FONT_DIR}/LiberationMono-Regular.ttf "morlu Mono"
          ${MORLU_WEB_MONO}
  DEPENDS ${MORLU_WEB_SUBSET}
  VERBATIM)
add_custom_target(morlu_web_fonts DEPENDS ${MORLU_WEB_FONTS})

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
    # The code is compiled for size (-Os); linked at -O2. An -Os link also runs
    # emscripten's whole-program shrinking of the JavaScript and WebAssembly
    # together: a third of each link's time, for pages 2 % smaller.
    -O2
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
# Programs link without the build type's flags (its -Os), with the options above.
foreach(lang C CXX)
  set(CMAKE_${lang}_LINK_EXECUTABLE
      "<CMAKE_${lang}_COMPILER> <CMAKE_${lang}_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
endforeach()
foreach(library ${MORLU_WEB_JS_LIBRARIES})
  list(APPEND MORLU_WEB_LINK_OPTIONS "SHELL:--js-library ${library}")
endforeach()

# Make pages/PAGE.html of the program `target` once it is linked.
function(morlu_web_page target page)
  set(out ${PROJECT_BINARY_DIR}/pages/${page}.html)
  set(scripts)
  foreach(script ${MORLU_WEB_PAGE_SCRIPTS})
    list(APPEND scripts --page-script ${script})
  endforeach()
  add_custom_command(
    TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/pages
    COMMAND ${Python3_EXECUTABLE} ${MORLU_WEB_MAKE_PAGE} --template ${MORLU_WEB_TEMPLATE} ${scripts}
            --program $<TARGET_FILE:${target}> --title ${page} --sans ${MORLU_WEB_SANS} --mono ${MORLU_WEB_MONO}
            -o ${out}
    VERBATIM)
  add_dependencies(${target} morlu_web_fonts)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${MORLU_WEB_TEMPLATE} ${MORLU_WEB_PAGE_SCRIPTS}
                                                           ${MORLU_WEB_JS_LIBRARIES})
endfunction()

# pages/index.html: the demo and the examples, each with its picture and what it teaches.
function(morlu_web_gallery)
  set(docs ${PROJECT_SOURCE_DIR}/docs)
  set(out ${PROJECT_BINARY_DIR}/pages/index.html)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/pages
    COMMAND
      ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/web/make_gallery.py
      --entry bugs.html ${docs}/morlu-bugs.png "The demo: cartoon bugs steered from a button panel."
      --entry shapes.html ${docs}/gallery/shapes.png "Shapes, colours and text in picture coordinates."
      --entry click_to_draw.html ${docs}/gallery/click_to_draw.png "Clicks become MORLU_MOUSE events."
      --entry typewriter.html ${docs}/gallery/typewriter.png "Typed characters become MORLU_KBD events."
      --entry bouncing_ball.html ${docs}/gallery/bouncing_ball.png "Ticks become MORLU_PERIODIC events."
      --entry catch_the_dot.html ${docs}/gallery/catch_the_dot.png "A tiny game of ticks and clicks."
      --entry record_and_replay.html ${docs}/gallery/record_and_replay.png "Record and play back MORLU.SCR."
      -o ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/web/make_gallery.py
    VERBATIM)
  add_custom_target(morlu_web_gallery ALL DEPENDS ${out})
endfunction()
