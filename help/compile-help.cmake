# Runs chmcmd on the help project in WORK_DIR and copies the result to OUTPUT. Any warning of
# the compiler (a page, picture or link that does not exist) fails the build, so the help file
# never ships with a broken link.
file(REMOVE ${WORK_DIR}/jiajiao.chm)
execute_process(
    COMMAND ${CHMCMD} --html-scan ${PROJECT_FILE}
    WORKING_DIRECTORY ${WORK_DIR}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR out MATCHES "Warning|Error" OR NOT EXISTS ${WORK_DIR}/jiajiao.chm)
    message(FATAL_ERROR "chmcmd could not compile ${PROJECT_FILE} (exit ${rc}):\n${out}\n${err}")
endif()
file(COPY_FILE ${WORK_DIR}/jiajiao.chm ${OUTPUT})
