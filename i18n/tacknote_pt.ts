<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="pt_BR">
<context>
    <name>TtabAlarme</name>
    <message numerus="yes">
        <source>minuto(s)</source>
        <translation>
            <numerusform>minuto</numerusform>
            <numerusform>minutos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hora(s)</source>
        <translation>
            <numerusform>hora</numerusform>
            <numerusform>horas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>dia(s)</source>
        <translation>
            <numerusform>dia</numerusform>
            <numerusform>dias</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>semana(s)</source>
        <translation>
            <numerusform>semana</numerusform>
            <numerusform>semanas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>mês(es)</source>
        <translation>
            <numerusform>mês</numerusform>
            <numerusform>meses</numerusform>
        </translation>
    </message>
</context>
</TS>
