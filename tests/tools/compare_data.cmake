# Checks that a second run of the asset generator writes the same bytes as the
# build did: the data folder and the icons (desktop and web).
file(REMOVE_RECURSE ${AGAIN})
execute_process(COMMAND ${GENERATOR} ${AGAIN}/data --icons ${AGAIN}/icons --web-icons ${AGAIN}/web-icons
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${status}")
endif()

# Every file written below AGAIN/<part> must equal its namesake in `built`;
# fewer than `least` files means the run fell short.
function(compare_written part built least)
  file(GLOB_RECURSE written RELATIVE ${AGAIN}/${part} ${AGAIN}/${part}/*)
  list(LENGTH written count)
  if(count LESS least)
    message(FATAL_ERROR "the generator wrote only ${count} files in ${part}")
  endif()
  foreach(name IN LISTS written)
    if(NOT EXISTS ${built}/${name})
      message(FATAL_ERROR "${name} is missing from ${built}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${built}/${name} ${AGAIN}/${part}/${name}
                    RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${name} differs between two runs")
    endif()
  endforeach()
  message(STATUS "${count} files in ${part} identical")
endfunction()

compare_written(data ${DATA} 50)
compare_written(icons ${ICONS} 3)
compare_written(web-icons ${WEB_ICONS} 4)
file(REMOVE_RECURSE ${AGAIN})
