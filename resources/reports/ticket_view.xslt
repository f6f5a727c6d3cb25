<?xml version="1.0" encoding="UTF-8"?>
<!-- The vehicle ticket: a small card the driver keeps with the vehicle's papers. The program
     passes the language as the parameter "lang" ("ru" or "en"). -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:exsl="http://exslt.org/common"
    exclude-result-prefixes="exsl">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>
  <xsl:param name="lang" select="'ru'"/>

  <xsl:variable name="labels-table">
    <l k="title" ru="ТАЛОН ТРАНСПОРТНОГО СРЕДСТВА" en="VEHICLE TICKET"/>
    <l k="subtitle" ru="о калибровке тахографа" en="tachograph calibration"/>
    <l k="vnumber" ru="Регистрационный номер" en="Registration number"/>
    <l k="vin" ru="VIN" en="VIN"/>
    <l k="constantW" ru="W,&#160;имп/&#8288;км" en="W,&#160;pulses/&#8288;km"/>
    <l k="constantK" ru="K,&#160;имп/&#8288;км" en="K,&#160;pulses/&#8288;km"/>
    <l k="tyreL" ru="L,&#160;мм" en="L,&#160;mm"/>
    <l k="tyreS" ru="Размер шин" en="Tyre size"/>
    <l k="maxSpeed" ru="Ограничение скорости,&#160;км/&#8288;ч" en="Speed limit,&#160;km/&#8288;h"/>
    <l k="date" ru="Дата калибровки" en="Date of calibration"/>
    <l k="due" ru="Следующая проверка не позднее" en="Next inspection due by"/>
    <l k="workshop" ru="Мастерская" en="Workshop"/>
    <l k="signature" ru="Подпись мастера" en="Technician's signature"/>
  </xsl:variable>
  <xsl:variable name="labels" select="exsl:node-set($labels-table)/l"/>

  <xsl:template name="label">
    <xsl:param name="k"/>
    <xsl:variable name="entry" select="$labels[@k = $k]"/>
    <xsl:choose>
      <xsl:when test="$lang = 'en'"><xsl:value-of select="$entry/@en"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="$entry/@ru"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="day">
    <xsl:param name="d"/>
    <xsl:choose>
      <xsl:when test="string-length($d) = 8 and translate($d, '0123456789', '') = ''">
        <xsl:value-of select="concat(substring($d, 7, 2), '.', substring($d, 5, 2), '.', substring($d, 1, 4))"/>
      </xsl:when>
      <xsl:when test="normalize-space($d) != ''"><xsl:value-of select="$d"/></xsl:when>
      <xsl:otherwise>____.____.________</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The next inspection is due two years after the calibration, on the same day of the
       month; a calibration on 29 February is due on 28 February, as the program reckons it. -->
  <xsl:template name="due">
    <xsl:param name="d"/>
    <xsl:choose>
      <xsl:when test="string-length($d) = 8 and translate($d, '0123456789', '') = ''">
        <xsl:variable name="dd">
          <xsl:choose>
            <xsl:when test="substring($d, 5, 4) = '0229'">28</xsl:when>
            <xsl:otherwise><xsl:value-of select="substring($d, 7, 2)"/></xsl:otherwise>
          </xsl:choose>
        </xsl:variable>
        <xsl:value-of select="concat($dd, '.', substring($d, 5, 2), '.', substring($d, 1, 4) + 2)"/>
      </xsl:when>
      <xsl:otherwise>____.____.________</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="row">
    <xsl:param name="k"/>
    <xsl:param name="value"/>
    <tr>
      <td width="50%" style="border: 1px solid #808080; padding: 3px 6px; background-color: #f2f2f2;">
        <xsl:call-template name="label"><xsl:with-param name="k" select="$k"/></xsl:call-template>
      </td>
      <td style="border: 1px solid #808080; padding: 3px 6px; font-size: 11pt;">
        <b><xsl:copy-of select="$value"/></b>
      </td>
    </tr>
  </xsl:template>

  <xsl:template match="/taho_record">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:call-template name="label"><xsl:with-param name="k" select="'title'"/></xsl:call-template></title>
      </head>
      <body style="font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; color: #000000;">
        <table width="62%" border="2" cellspacing="0" cellpadding="10" style="border-style: solid; border-color: #1a3d6d;">
          <tr><td>
            <table width="100%" cellspacing="0" cellpadding="0">
              <tr>
                <td valign="middle" width="40"><img src="Ondrix.ico" width="32" height="32"/></td>
                <td valign="middle" style="padding-left: 6px;">
                  <span style="font-size: 13pt; font-weight: bold; color: #1a3d6d;">
                    <xsl:call-template name="label"><xsl:with-param name="k" select="'title'"/></xsl:call-template>
                  </span><br/>
                  <xsl:call-template name="label"><xsl:with-param name="k" select="'subtitle'"/></xsl:call-template>
                </td>
              </tr>
            </table>
            <table width="100%" cellspacing="0" style="border-collapse: collapse; margin-top: 8px;">
              <xsl:call-template name="row"><xsl:with-param name="k" select="'vnumber'"/><xsl:with-param name="value" select="string(tag_vnumber)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'vin'"/><xsl:with-param name="value" select="string(tag_vin)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'constantW'"/><xsl:with-param name="value" select="string(tag_constantW)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'constantK'"/><xsl:with-param name="value" select="string(tag_constantK)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'tyreL'"/><xsl:with-param name="value" select="string(tag_tyreL)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'tyreS'"/><xsl:with-param name="value" select="string(tag_tyreS)"/></xsl:call-template>
              <xsl:call-template name="row"><xsl:with-param name="k" select="'maxSpeed'"/><xsl:with-param name="value" select="string(tag_maxSpeed)"/></xsl:call-template>
              <xsl:call-template name="row">
                <xsl:with-param name="k" select="'date'"/>
                <xsl:with-param name="value"><xsl:call-template name="day"><xsl:with-param name="d" select="tag_date"/></xsl:call-template></xsl:with-param>
              </xsl:call-template>
              <xsl:call-template name="row">
                <xsl:with-param name="k" select="'due'"/>
                <xsl:with-param name="value"><xsl:call-template name="due"><xsl:with-param name="d" select="tag_date"/></xsl:call-template></xsl:with-param>
              </xsl:call-template>
            </table>
            <p style="margin-top: 8px; margin-bottom: 0px;">
              <xsl:call-template name="label"><xsl:with-param name="k" select="'workshop'"/></xsl:call-template>:
              <b><xsl:value-of select="tag_sname"/></b><br/>
              <xsl:value-of select="tag_saddress"/>
              <xsl:if test="normalize-space(tag_sphone) != ''">, <xsl:value-of select="tag_sphone"/></xsl:if>
            </p>
            <p style="margin-top: 14px; margin-bottom: 0px;">
              <xsl:call-template name="label"><xsl:with-param name="k" select="'signature'"/></xsl:call-template>: ____________________
            </p>
          </td></tr>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
