# The glyphs the program draws, cut from a freely licensed Japanese font of
# Debian's (fonts-ipafont-gothic) with the fonttools of Debian's python3:
# the printable ASCII and half-width katakana, and every character of the
# texts in the dialog's design, so that an edited caption brings its glyphs.
# The IPA Font License asks a derived font for a name of its own:
# "Kelvora Glyphs" (install/kelvora-glyphs-notice.txt).
# Sets KELVORA_GLYPHS (the cut font) and the target kelvora_glyphs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(glyph_python ${Python3_EXECUTABLE})
execute_process(COMMAND ${glyph_python} -c "import fontTools.subset" RESULT_VARIABLE no_fonttools
                OUTPUT_QUIET ERROR_QUIET)
if(no_fonttools)
  # A python of its own first on PATH (pyenv's, say) lacks Debian's
  # python3-fonttools: the system's, on the default path (command -p), has it.
  execute_process(COMMAND sh -c "command -p -v python3" OUTPUT_VARIABLE glyph_python
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${glyph_python} -c "import fontTools.subset" RESULT_VARIABLE no_fonttools
                  OUTPUT_QUIET ERROR_QUIET)
  if(no_fonttools)
    message(FATAL_ERROR "No python3 with fontTools: install python3-fonttools")
  endif()
endif()
# The font is found through fontconfig, as the system's programs find it.
find_program(FC_MATCH fc-match REQUIRED)
execute_process(COMMAND ${FC_MATCH} -f "%{file}" "IPAGothic:style=Regular"
                OUTPUT_VARIABLE glyph_font OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REAL_PATH "${glyph_font}" glyph_font)
if(NOT glyph_font MATCHES "/ipag\\.ttf$")
  message(FATAL_ERROR "IPAGothic not found (fc-match gave '${glyph_font}'): install fonts-ipafont-gothic")
endif()

set(dialog_design ${PROJECT_SOURCE_DIR}/config/frm_config_design.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dialog_design})
file(READ ${dialog_design} design_source)
string(REGEX MATCHALL "\"[^\"]*\"" design_literals "${design_source}")
string(REPLACE "\"" "" carried_texts "${design_literals}")
string(REPLACE ";" "" carried_texts "${carried_texts}")
set(carried_texts_file ${CMAKE_BINARY_DIR}/carried_texts.txt)
file(CONFIGURE OUTPUT ${carried_texts_file} CONTENT "${carried_texts}")
set(KELVORA_GLYPHS ${CMAKE_BINARY_DIR}/kelvora-glyphs.ttf CACHE INTERNAL "The carried glyphs")
add_custom_command(
  OUTPUT ${KELVORA_GLYPHS}
  COMMAND ${glyph_python} -m fontTools.subset ${glyph_font}
          --unicodes=U+0020-007E,U+FF61-FF9F --name-IDs=0,1,2,3,4,5,6,13,14
          --text-file=${carried_texts_file}
          --output-file=${KELVORA_GLYPHS}
  COMMAND ${glyph_python} ${CMAKE_CURRENT_LIST_DIR}/rename_glyphs.py ${KELVORA_GLYPHS}
          "Kelvora Glyphs" KelvoraGlyphs-Regular "Version ${PROJECT_VERSION}"
  DEPENDS ${carried_texts_file} ${CMAKE_CURRENT_LIST_DIR}/rename_glyphs.py
  COMMENT "Cutting the carried Japanese glyphs")
add_custom_target(kelvora_glyphs DEPENDS ${KELVORA_GLYPHS})
