# Writes <folder>/stb_vorbis_checked.h: the stb_vorbis of Debian's libstb-dev
# with one guard added. As shipped, the decoder trusts a file's comment count:
# a count near 2^29 wraps the size of the list it allocates, and it then
# writes past the list or walks a null one. The guard refuses counts above
# 65536 (real files carry a handful).
function(marvolet_checked_stb_vorbis folder)
  find_file(STB_VORBIS_HEADER stb/stb_vorbis.h)
  if(NOT STB_VORBIS_HEADER)
    message(FATAL_ERROR "stb/stb_vorbis.h not found: install libstb-dev")
  endif()
  file(READ ${STB_VORBIS_HEADER} source)
  set(line "   f->comment_list_length = get32_packet(f);\n")
  set(guard "   if (f->comment_list_length > 65536) { f->comment_list_length = 0; return error(f, VORBIS_invalid_setup); }\n")
  string(FIND "${source}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${STB_VORBIS_HEADER} has changed: review the guard in audio/stb_vorbis_checked.cmake")
  endif()
  string(REPLACE "${line}" "${line}${guard}" source "${source}")
  # Rewritten only when it changes, so a new configure does not rebuild it.
  file(WRITE ${folder}/stb_vorbis_checked.h.new "${source}")
  configure_file(${folder}/stb_vorbis_checked.h.new ${folder}/stb_vorbis_checked.h COPYONLY)
endfunction()
