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

-- Which batch run's rows pictureMsg holds: every run raises the number when it empties pictureMsg,
-- so that a grid still showing the rows of an earlier run (whose row ids the new rows are given
-- again) is refused when it writes. One row; a database from an older package gets the table from
-- its first run.
create table resultsRun (
    generation integer not null
);
insert into resultsRun values (0);
