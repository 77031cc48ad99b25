-- Default settings shipped in user.dat. The outside services are deployment settings: a base URL
-- such as http://127.0.0.1:8731, or empty for "no such service".
INSERT INTO userconfig (name,value) VALUES ('allow_push','true');
INSERT INTO userconfig (name,value) VALUES ('join_ue','true');
INSERT INTO userconfig (name,value) VALUES ('svc_forecast','');
INSERT INTO userconfig (name,value) VALUES ('svc_weather2','');
INSERT INTO userconfig (name,value) VALUES ('svc_air','');
INSERT INTO userconfig (name,value) VALUES ('svc_iplocation','');
-- The default weather source, asked when the sites above are empty or fail: a forecast and an
-- air-quality service with the Open-Meteo contract (free for non-commercial use; a commercial
-- deployment points these at a paid plan or at its own instance of the open-source service).
INSERT INTO userconfig (name,value) VALUES ('svc_meteo','https://api.open-meteo.com');
INSERT INTO userconfig (name,value) VALUES ('svc_meteo_air','https://air-quality-api.open-meteo.com');
INSERT INTO userconfig (name,value) VALUES ('svc_stats','');
-- The support account of the contact link (digits only) and the web site address (http or https).
-- Empty: the link does nothing.
INSERT INTO userconfig (name,value) VALUES ('contact_account','');
INSERT INTO userconfig (name,value) VALUES ('web_site','');
