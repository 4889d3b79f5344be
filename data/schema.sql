-- One row per photo of the last batch run. Columns a stage did not reach stay NULL.
create table pictureMsg (
    name           text,
    mode           text,
    pix            text,
    Picsize        integer,
    bluePercent    integer,
    clarityPercent integer,
    headPercent    integer,
    regularPercent integer,
    eyeLeftlet     integer,
    eyeRightlet    integer,
    reason         text,
    result         text,
    folderPath     text
);

-- The stored copy of the five detection thresholds: exactly one row.
create table preParameters (
    PreSize    integer,
    PreBlue    integer,
    PreClarity integer,
    PreRegular integer,
    PreHead    integer
);
