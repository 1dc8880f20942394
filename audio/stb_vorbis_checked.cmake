# Writes <folder>/stb_vorbis_checked.h: the stb_vorbis of Debian's libstb-dev
# with guards for damaged files. As shipped, the decoder trusts a file's
# comment count (a count near 2^29 wraps the size of the list it allocates,
# and it then writes past the list or walks a null one), and some arithmetic
# on bad input is undefined in C. Each guard replaces one exact line; a
# header that no longer has the line stops the configure for a review.
macro(marvolet_stb_guard line guarded)
  string(FIND "${source}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${STB_VORBIS_HEADER} has changed: review the guard of [${line}] in audio/stb_vorbis_checked.cmake")
  endif()
  string(REPLACE "${line}" "${guarded}" source "${source}")
endmacro()

function(marvolet_checked_stb_vorbis folder)
  find_file(STB_VORBIS_HEADER stb/stb_vorbis.h)
  if(NOT STB_VORBIS_HEADER)
    message(FATAL_ERROR "stb/stb_vorbis.h not found: install libstb-dev")
  endif()
  file(READ ${STB_VORBIS_HEADER} source)
  # Real files carry a handful of comments: counts above 65536 are refused.
  marvolet_stb_guard("   f->comment_list_length = get32_packet(f);\n"
    "   f->comment_list_length = get32_packet(f);\n   if (f->comment_list_length > 65536) { f->comment_list_length = 0; return error(f, VORBIS_invalid_setup); }\n")
  # A packet that ends early reads as -1 bytes: shifted as unsigned values.
  marvolet_stb_guard("   x += get8_packet(f) << 8;\n" "   x += (uint32) get8_packet(f) << 8;\n")
  marvolet_stb_guard("   x += get8_packet(f) << 16;\n" "   x += (uint32) get8_packet(f) << 16;\n")
  # Powers of a damaged code book overflow an int: compared as doubles.
  marvolet_stb_guard("   if ((int) floor(pow((float) r+1, dim)) <= entries)"
                     "   if (floor(pow((float) r+1, dim)) <= entries)")
  marvolet_stb_guard("   if ((int) floor(pow((float) r, dim)) > entries)"
                     "   if (floor(pow((float) r, dim)) > entries)")
  # Damaged audio gives floats far outside a sample's range: the rounding
  # trick's subtraction wraps as unsigned values (then clamped, as before).
  marvolet_stb_guard("(temp.f = (x) + MAGIC(s), temp.i - ADDEND(s))"
                     "(temp.f = (x) + MAGIC(s), (int) ((unsigned int) temp.i - (unsigned int) ADDEND(s)))")
  # Rewritten only when it changes, so a new configure does not rebuild it.
  file(WRITE ${folder}/stb_vorbis_checked.h.new "${source}")
  configure_file(${folder}/stb_vorbis_checked.h.new ${folder}/stb_vorbis_checked.h COPYONLY)
endfunction()
