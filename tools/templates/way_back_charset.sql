
CREATE OR ALTER EXCEPTION QOR$WAY_BACK_STOP 'qor_udf3: way back stopped';
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE CS SMALLINT;
BEGIN
  CS = (SELECT MON$CHARACTER_SET_ID FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION);
  IF (CS = 0 OR (CS NOT IN (3, 4) AND
      (SELECT COALESCE(TRIM(RDB$CHARACTER_SET_NAME), 'NONE') FROM RDB$DATABASE) <> 'NONE')) THEN
    EXCEPTION QOR$WAY_BACK_STOP 'connect with the character set UTF8 (isql-fb -ch UTF8; in a NONE database the set your clients use): the way back recompiles procedures and triggers from their source text';
END^
SET TERM ; ^
